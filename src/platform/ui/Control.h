#pragma once

#include <functional>
#include <string>

#include "platform/ui/Canvas.h"

namespace kestrum {

// Positions and sizes of windows and controls, in twips (1/1440 inch).
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A control on a window. A control whose window has unloaded keeps answering its last state.
// Disabled or hidden controls, and controls of a disabled window, ignore the user's input.
class IControl {
  public:
    virtual ~IControl() = default;

    virtual std::string Name() const = 0;
    // The caption; an "&" before a letter makes it the control's access key.
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    // The control's own visibility: it shows while its window shows.
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    // Within the window's client area.
    virtual void SetBounds(const TwipsRect& where) = 0;
    virtual TwipsRect Bounds() const = 0;
    virtual void SetFocus() = 0;
    virtual bool HasFocus() const = 0;
    // Shown while the mouse rests on the control; an empty text shows none.
    virtual void SetToolTip(const std::string& text) = 0;
};

// A typeface by name and size in points.
struct FontSpec {
    std::string face;
    int points = 8;
    bool bold = false;
};

class ILabel : public virtual IControl {
  public:
    virtual void SetFont(const FontSpec& font) = 0;
};

// A label that reads as a link: underlined in the link colour, with a hand over it.
class ILinkLabel : public virtual ILabel {
  public:
    virtual void SetOnClick(std::function<void()> handler) = 0;
};

class IPushButton : public virtual IControl {
  public:
    virtual void SetOnClick(std::function<void()> handler) = 0;
};

enum class MouseAction { Move, Press, Release };
enum class MouseButton { None, Left, Right };

// A mouse event on a window's face or a control, in twips from its top left corner.
struct MouseEvent {
    MouseAction action = MouseAction::Move;
    MouseButton button = MouseButton::None;
    int x = 0;
    int y = 0;
    bool shift = false;
    bool control = false;
};

struct KeyEvent {
    int key = 0;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// A control that draws itself: a real child window whose window text is its caption, so that
// the keyboard, screen readers and automation find it. It hands its input to the program and
// acts on none itself; a disabled one takes none. While it has the focus it takes every key but
// Tab and Esc, Enter included.
class IPaintBox : public virtual IControl {
  public:
    virtual void SetOnPaint(std::function<void(ICanvas&)> handler) = 0;
    // Paints now, not at the next quiet moment.
    virtual void Repaint() = 0;
    virtual void SetOnMouse(std::function<void(const MouseEvent&)> handler) = 0;
    virtual void SetOnKeyDown(std::function<void(const KeyEvent&)> handler) = 0;
    // Runs with true when the control gains the focus, false when it loses it.
    virtual void SetOnFocus(std::function<void(bool)> handler) = 0;
    // A press and release of the left button on the control.
    virtual void SetOnClick(std::function<void()> handler) = 0;
};

// A two-state check box. The click handling runs once for every change of its value, whether
// the user clicked or code set it; setting the value it already has runs nothing.
class ICheckBox : public virtual IControl {
  public:
    virtual bool Value() const = 0;
    virtual void SetValue(bool checked) = 0;
    // Runs after the value has changed.
    virtual void SetOnClick(std::function<void()> handler) = 0;
};

}  // namespace kestrum
