#include "platform/win32/ui/Win32Label.h"

namespace kestrum::win32 {

Win32Label::Win32Label(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
                       const std::string& caption)
    : Win32Control(window, name, id) {
    Create(L"STATIC", SS_LEFT | SS_NOPREFIX, where, caption);
}

}  // namespace kestrum::win32
