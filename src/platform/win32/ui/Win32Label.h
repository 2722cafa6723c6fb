#pragma once

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

// A plain static text, or (with a click handler) one that reads as a link.
class Win32Label : public Win32Control, public virtual ILabel {
  public:
    Win32Label(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
               const std::string& caption, DWORD style = 0);
    void SetFont(const FontSpec& font) override;
    HBRUSH OnCtlColor(HDC dc) override { return Backdrop(dc); }

  protected:
    // Makes the font from the face, size and weight, with the line under it when asked.
    void ApplyFont(const FontSpec& font, bool underline);

  private:
    FontHandle font_;
};

class Win32LinkLabel final : public Win32Label, public ILinkLabel {
  public:
    Win32LinkLabel(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
                   const std::string& caption);
    void SetFont(const FontSpec& font) override { ApplyFont(font, true); }
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
    bool OnCommand(WORD code) override;
    HBRUSH OnCtlColor(HDC dc) override;

  private:
    bool OnSubclassMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override;
    std::function<void()> onClick_;
};

// One of the program's pictures, or an etched line.
class Win32Ornament final : public Win32Control {
  public:
    enum class Kind { Picture, Separator };
    Win32Ornament(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
                  Kind kind, Picture picture = Picture::Program);
    ~Win32Ornament() override;

  private:
    HICON icon_ = nullptr;
};

}  // namespace kestrum::win32
