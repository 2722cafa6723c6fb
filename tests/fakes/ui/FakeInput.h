#pragma once

#include <string>
#include <variant>

#include "platform/Ui.h"

namespace kestrum::fakes {

// Input as a user gives it, addressed by window and control names. Input for a window that is
// not loaded, or a control it does not have, falls on nothing.

// A mouse click on a control.
struct ClickOn {
    std::string window;
    std::string control;
};

// A key pressed in the window: the key preview sees it first, then the focused control and the
// keyboard navigation.
struct PressKey {
    std::string window;
    KeyEvent key;
};

// The mouse on the window's face, at a point in twips.
struct MouseAt {
    std::string window;
    MouseEvent event;
};

// The close box of the window's title bar.
struct CloseWindow {
    std::string window;
};

using UserInput = std::variant<ClickOn, PressKey, MouseAt, CloseWindow>;

}  // namespace kestrum::fakes
