#pragma once

#include <string>

#include "platform/Ui.h"

namespace kestrum::win32 {

// A system message box owned by the program's visible window in front, if it has one.
MessageAnswer ShowMessageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons, MessageIcon icon);

}  // namespace kestrum::win32
