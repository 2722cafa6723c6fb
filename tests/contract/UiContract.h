#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Ui.h"

namespace kestrum::contract {

// What the user does to a tree's node: clicks it, double-clicks it, or clicks its open/close
// button or its check box.
enum class NodeAction { Click, DoubleClick, Toggle, Check };

// The user's side of a toolkit: input as a user gives it, handled before each call returns.
class UiDriver {
  public:
    virtual ~UiDriver() = default;
    virtual IUiToolkit& ui() = 0;

    virtual void Click(IWindow& window, const std::string& control) = 0;
    // A key pressed with the focus where it is.
    virtual void PressKey(IWindow& window, int key) = 0;
    // A key pressed with Shift, Ctrl and Alt held as the event says, with the focus where it is.
    virtual void PressChord(IWindow& window, const KeyEvent& key) = 0;
    // Text typed key by key with the focus where it is.
    virtual void Type(IWindow& window, const std::string& text) = 0;
    // The mouse on a control, at a point of its inside in twips.
    virtual void MouseOn(IWindow& window, const std::string& control, const MouseEvent& event) = 0;
    virtual void DoubleClick(IWindow& window, const std::string& control, int xTwips,
                             int yTwips) = 0;
    virtual void Close(IWindow& window) = 0;
    // A left button pressed on the window's face at a point in twips.
    virtual void PressMouse(IWindow& window, int xTwips, int yTwips) = 0;
    // The next pop-up menu shown is answered by choosing the item of that caption, as a user
    // does with the keyboard, or dismissed when the caption is empty.
    virtual void ChooseOnNextMenu(const std::string& caption) = 0;
    virtual std::uint64_t NowMilliseconds() = 0;
    // The mouse on a shown node of a tree, found by its key.
    virtual void OnNode(IWindow& window, const std::string& tree, const std::string& key,
                        NodeAction action) = 0;
    // Text typed into the tree's open label, then Enter to confirm it or Esc.
    virtual void TypeInLabel(IWindow& window, const std::string& tree, const std::string& text,
                             bool confirm) = 0;
    // A click on a tab of a tabs control.
    virtual void ChooseTab(IWindow& window, const std::string& tabs, int tab) = 0;

    // Handles events until the condition holds; false when the deadline came first.
    bool WaitUntil(const std::function<bool()>& condition, std::uint32_t milliseconds) {
        const std::uint64_t deadline = NowMilliseconds() + milliseconds;
        for (;;) {
            ui().ProcessPendingEvents();
            const std::uint64_t now = NowMilliseconds();
            if (condition() || now >= deadline) {
                return condition();
            }
            ui().WaitForEvents(
                static_cast<std::uint32_t>(std::min<std::uint64_t>(deadline - now, 50)));
        }
    }
};

std::unique_ptr<UiDriver> MakeUiDriver();

}  // namespace kestrum::contract
