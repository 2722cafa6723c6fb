#include "platform/win32/ui/Win32CheckBox.h"

namespace kestrum::win32 {

Win32CheckBox::Win32CheckBox(Win32Window& window, const std::string& name, int id,
                             const TwipsRect& where, const std::string& caption)
    : Win32Control(window, name, id) {
    Create(L"BUTTON", BS_CHECKBOX | WS_TABSTOP, where, caption);
}

bool Win32CheckBox::Value() const {
    return value_;
}

void Win32CheckBox::SetValue(bool checked) {
    if (checked == value_) {
        return;
    }
    value_ = checked;
    if (hwnd_ != nullptr) {
        SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // BM_SETCHECK notifies nobody; the click handling belongs to every change of the value.
    if (onClick_) {
        auto handler = onClick_;
        handler();
    }
}

bool Win32CheckBox::OnCommand(WORD code) {
    if (code != BN_CLICKED) {
        return false;
    }
    if (AcceptsInput()) {
        SetValue(!value_);
    }
    return true;
}

}  // namespace kestrum::win32
