#pragma once

#include <functional>

#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

// A plain (not automatic) check box: the system toggles nothing by itself, so a click that the
// toolkit refuses (disabled, hidden) leaves the value alone, and code and user share one path.
class Win32CheckBox final : public Win32Control, public ICheckBox {
  public:
    Win32CheckBox(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
                  const std::string& caption);
    bool Value() const override;
    void SetValue(bool checked) override;
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }

    bool OnCommand(WORD code) override;
    HBRUSH OnCtlColor(HDC dc) override { return Backdrop(dc); }

  private:
    bool value_ = false;
    std::function<void()> onClick_;
};

}  // namespace kestrum::win32
