#pragma once

#include <functional>

#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

class Win32PushButton final : public Win32Control, public IPushButton {
  public:
    Win32PushButton(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
                    const std::string& caption);
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
    void SetOnFocus(std::function<void(bool)> handler) override;

    bool OnCommand(WORD code) override;
    bool TakesEnter() const override { return true; }
    // A user's click, from the mouse or from the keyboard navigation.
    void Click();
    // Draws the button with or without the default button's frame.
    void ShowAsDefault(bool isDefault);

  protected:
    bool OnSubclassMessage(UINT message, WPARAM, LPARAM, LRESULT&) override;

  private:
    std::function<void()> onClick_;
    std::function<void(bool)> onFocus_;
};

}  // namespace kestrum::win32
