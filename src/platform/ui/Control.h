#pragma once

#include <functional>
#include <string>

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

class ILabel : public virtual IControl {};

class IPushButton : public virtual IControl {
  public:
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
