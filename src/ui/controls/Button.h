#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Ui.h"
#include "ui/controls/PropertyBag.h"

namespace kestrum {

// The program's own push button: an oval face in its back colour with a three-ring bevel that
// looks raised when up and sunken while pressed, and a centred caption. It clicks on a mouse
// click and on Enter while it has the focus, never on the space bar.
class Button {
  public:
    // The design-time settings come from the window's stored description.
    Button(IWindow& window, const std::string& name, const TwipsRect& where,
           const PropertyBag& properties);

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    Colour BackColor() const { return backColor_; }
    void SetBackColor(Colour colour);
    Colour ForeColor() const { return foreColor_; }
    void SetForeColor(Colour colour);
    bool Pressed() const { return pressed_; }
    bool HasFocus() const { return hasFocus_; }
    // The settings that differ from their defaults.
    void WriteProperties(PropertyBag& properties) const;

    void SetOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    // MouseDown, MouseMove and MouseUp, with what the control received.
    void SetOnMouse(std::function<void(const MouseEvent&)> handler) {
        onMouse_ = std::move(handler);
    }

    IPaintBox& control() { return box_; }

  private:
    void Paint(ICanvas& canvas);
    void Mouse(const MouseEvent& event);
    void Changed();

    IPaintBox& box_;
    std::string caption_;
    bool enabled_;
    Colour backColor_;
    Colour foreColor_;
    bool pressed_ = false;
    bool hasFocus_ = false;
    std::function<void()> onClick_;
    std::function<void(const MouseEvent&)> onMouse_;
};

}  // namespace kestrum
