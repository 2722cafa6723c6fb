#include "platform/win32/ui/Win32PushButton.h"

namespace kestrum::win32 {

Win32PushButton::Win32PushButton(Win32Window& window, const std::string& name, int id,
                                 const TwipsRect& where, const std::string& caption)
    : Win32Control(window, name, id) {
    Create(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, where, caption);
}

bool Win32PushButton::OnCommand(WORD code) {
    if (code != BN_CLICKED) {
        return false;
    }
    Click();
    return true;
}

void Win32PushButton::SetOnFocus(std::function<void(bool)> handler) {
    // Watched from the button's own messages: BS_NOTIFY would report a quick second click as a
    // double click instead of a click.
    if (!onFocus_) {
        Subclass();
    }
    onFocus_ = std::move(handler);
}

bool Win32PushButton::OnSubclassMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        Raise(onFocus_, message == WM_SETFOCUS);
    }
    return false;
}

void Win32PushButton::Click() {
    if (AcceptsInput() && onClick_) {
        // A copy: the handler may replace itself.
        auto handler = onClick_;
        handler();
    }
}

void Win32PushButton::ShowAsDefault(bool isDefault) {
    if (hwnd_ != nullptr) {
        SendMessageW(hwnd_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

}  // namespace kestrum::win32
