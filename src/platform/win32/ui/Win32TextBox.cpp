#include "platform/win32/ui/Win32TextBox.h"

#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {

Win32TextBox::Win32TextBox(Win32Window& window, const std::string& name, int id,
                           const TwipsRect& where)
    : Win32Control(window, name, id) {
    Create(L"EDIT", ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP, where, "", WS_EX_CLIENTEDGE);
    if (hwnd_ != nullptr) {
        Subclass();
    }
}

void Win32TextBox::SetText(const std::string& text) {
    if (hwnd_ == nullptr) {
        seen_ = text;
    }
    Win32Control::SetText(text);
}

std::string Win32TextBox::Text() const {
    return hwnd_ != nullptr ? Win32Control::Text() : seen_;
}

void Win32TextBox::SelectAll() {
    if (hwnd_ != nullptr) {
        SendMessageW(hwnd_, EM_SETSEL, 0, -1);
    }
}

bool Win32TextBox::OnCommand(WORD code) {
    if (code != EN_CHANGE) {
        return false;
    }
    // The edit also tells of a text set to what it was; that is no change.
    std::string now = Win32Control::Text();
    if (now != seen_) {
        seen_ = std::move(now);
        Raise(onChange_);
    }
    return true;
}

bool Win32TextBox::OnSubclassMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    switch (message) {
        case WM_GETDLGCODE: {
            result = DefSubclassProc(hwnd_, message, wparam, lparam);
            // Without this the dialog manager selects the whole text whenever the focus comes.
            result &= ~static_cast<LRESULT>(DLGC_HASSETSEL);
            const auto* msg = reinterpret_cast<const MSG*>(lparam);
            if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
                window_.DefaultButton() == nullptr) {
                result |= DLGC_WANTMESSAGE;
            }
            return true;
        }
        case WM_KEYDOWN: {
            if (AcceptsInput()) {
                KeyEvent key{static_cast<int>(wparam), GetKeyState(VK_SHIFT) < 0,
                             GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
                Raise(onKeyDown_, key);
            }
            // The one-line edit has no use for Enter.
            return wparam == VK_RETURN;
        }
        case WM_CHAR:
            // Enter's character would only beep.
            return wparam == L'\r' || wparam == L'\n';
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Raise(onFocus_, message == WM_SETFOCUS);
            return false;
        case WM_DESTROY:
            seen_ = Win32Control::Text();
            return false;
        default:
            return false;
    }
}

}  // namespace kestrum::win32
