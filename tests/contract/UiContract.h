#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/Ui.h"

namespace kestrum::contract {

// The user's side of a toolkit: input as a user gives it, handled before each call returns,
// and what the system itself says about the screen.
class UiDriver {
  public:
    virtual ~UiDriver() = default;
    virtual IUiToolkit& ui() = 0;

    virtual void Click(IWindow& window, const std::string& control) = 0;
    // A key pressed with the focus where it is.
    virtual void PressKey(IWindow& window, int key) = 0;
    // Alt with a letter.
    virtual void PressAccessKey(IWindow& window, char letter) = 0;
    virtual void Close(IWindow& window) = 0;
    // A left button pressed on the window's face at a point in twips.
    virtual void PressMouse(IWindow& window, int xTwips, int yTwips) = 0;
    // Handles events until the condition holds; false when the deadline came first.
    virtual bool WaitUntil(const std::function<bool()>& condition, std::uint32_t milliseconds) = 0;

    virtual int ScreenDpi() = 0;
    // Sizes in pixels as the system has them: a window's client area, a control's rectangle.
    virtual std::pair<int, int> ClientPixels(IWindow& window) = 0;
    virtual std::pair<int, int> ControlPixels(IWindow& window, const std::string& control) = 0;
};

// Made by the file that runs the suite on one toolkit.
std::unique_ptr<UiDriver> MakeUiDriver();

}  // namespace kestrum::contract
