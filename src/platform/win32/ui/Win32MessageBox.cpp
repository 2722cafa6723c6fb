#include "platform/win32/ui/Win32MessageBox.h"

#include <windows.h>

#include "platform/win32/WideString.h"

namespace kestrum::win32 {

MessageAnswer ShowMessageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons, MessageIcon icon) {
    UINT flags = MB_SETFOREGROUND;
    switch (buttons) {
        case MessageButtons::Ok:
            flags |= MB_OK;
            break;
        case MessageButtons::OkCancel:
            flags |= MB_OKCANCEL;
            break;
        case MessageButtons::YesNo:
            flags |= MB_YESNO;
            break;
        case MessageButtons::YesNoCancel:
            flags |= MB_YESNOCANCEL;
            break;
    }
    switch (icon) {
        case MessageIcon::None:
            break;
        case MessageIcon::Information:
            flags |= MB_ICONINFORMATION;
            break;
        case MessageIcon::Exclamation:
            flags |= MB_ICONEXCLAMATION;
            break;
        case MessageIcon::Question:
            flags |= MB_ICONQUESTION;
            break;
        case MessageIcon::Critical:
            flags |= MB_ICONHAND;
            break;
    }
    // Owned by the visible window in front, if the program has one, so it stays above it.
    HWND owner = GetActiveWindow();
    if (owner != nullptr && !IsWindowVisible(owner)) {
        owner = nullptr;
    }
    const int answer =
        MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(), flags);
    switch (answer) {
        case IDYES:
            return MessageAnswer::Yes;
        case IDNO:
            return MessageAnswer::No;
        case IDCANCEL:
            return MessageAnswer::Cancel;
        default:
            return MessageAnswer::Ok;
    }
}

}  // namespace kestrum::win32
