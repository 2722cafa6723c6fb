#include "ui/controls/Button.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

namespace {

// The bevel's arcs run counter-clockwise: the lower-right half from lower left to upper right,
// the upper-left half back again.
constexpr double kLowerLeft = 3.927;
constexpr double kUpperRight = 0.785;
constexpr int kRingStep = 15;
constexpr int kCaptionMargin = 5;
constexpr Colour kGreyCaption = colours::kDarkGrey;

// Outermost ring first.
constexpr Colour kLowerUp[] = {colours::kBlack, colours::kDarkGrey, colours::kLightGrey};
constexpr Colour kUpperUp[] = {colours::kWhite, colours::k3dLight, colours::k3dLight};

// A measure as the control keeps it: a 16-bit integer, halves to even.
std::int16_t Sixteen(double value) {
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}

}  // namespace

Button::Button(IWindow& window, const std::string& name, const TwipsRect& where,
               const PropertyBag& properties)
    : box_(window.AddPaintBox(name, where, properties.Read<std::string>("Caption", name))),
      caption_(properties.Read<std::string>("Caption", name)),
      enabled_(properties.Read("Enabled", true)),
      backColor_(
          static_cast<Colour>(properties.Read<std::int64_t>("BackColor", colours::kButtonFace))),
      foreColor_(
          static_cast<Colour>(properties.Read<std::int64_t>("ForeColor", colours::kButtonText))) {
    box_.SetEnabled(enabled_);
    box_.SetOnPaint([this](ICanvas& canvas) { Paint(canvas); });
    box_.SetOnMouse([this](const MouseEvent& event) { Mouse(event); });
    box_.SetOnFocus([this](bool gained) { hasFocus_ = gained; });
    box_.SetOnKeyDown([this](const KeyEvent& key) {
        if (key.key == keys::kEnter && hasFocus_ && onClick_) {
            auto handler = onClick_;
            handler();
        }
    });
    box_.SetOnClick([this] {
        if (enabled_ && onClick_) {
            auto handler = onClick_;
            handler();
        }
    });
}

void Button::WriteProperties(PropertyBag& properties) const {
    properties.Write<std::string>("Caption", caption_, box_.Name());
    properties.Write("Enabled", enabled_, true);
    properties.Write<std::int64_t>("BackColor", backColor_, colours::kButtonFace);
    properties.Write<std::int64_t>("ForeColor", foreColor_, colours::kButtonText);
}

void Button::SetCaption(const std::string& caption) {
    caption_ = caption;
    box_.SetText(caption);
    Changed();
}

void Button::SetEnabled(bool enabled) {
    enabled_ = enabled;
    box_.SetEnabled(enabled);
    Changed();
}

void Button::SetBackColor(Colour colour) {
    backColor_ = colour;
    Changed();
}

void Button::SetForeColor(Colour colour) {
    foreColor_ = colour;
    Changed();
}

void Button::Changed() {
    box_.Repaint();
}

void Button::Mouse(const MouseEvent& event) {
    if (event.action != MouseAction::Move) {
        if (!enabled_) {
            return;
        }
        pressed_ = event.action == MouseAction::Press;
        box_.Repaint();
    }
    if (onMouse_) {
        auto handler = onMouse_;
        handler(event);
    }
}

void Button::Paint(ICanvas& canvas) {
    const TwipsRect bounds = box_.Bounds();
    const std::int16_t w = Sixteen(bounds.width - 10.0);
    const std::int16_t h = Sixteen(bounds.height - 10.0);
    canvas.Clear(colours::kButtonFace);

    const int radius = static_cast<int>(std::nearbyint(std::max(w, h) / 2.0));
    const double aspect = w != 0 ? static_cast<double>(h) / w : 1.0;
    const double cx = w / 2.0;
    const double cy = h / 2.0;
    canvas.FillEllipse(cx, cy, radius, aspect, colours::kButtonFace, backColor_);
    for (int ring = 0; ring < 3; ++ring) {
        const int r = radius - ring * kRingStep;
        if (r > 0) {
            canvas.Arc(cx, cy, r, aspect, kLowerLeft, kUpperRight,
                       pressed_ ? colours::kWhite : kLowerUp[ring]);
        }
    }
    for (int ring = 0; ring < 3; ++ring) {
        const int r = radius - ring * kRingStep;
        if (r > 0) {
            canvas.Arc(cx, cy, r, aspect, kUpperRight, kLowerLeft,
                       pressed_ ? colours::kBlack : kUpperUp[ring]);
        }
    }

    const TextExtent text = canvas.MeasureText(caption_);
    const int x = std::max((bounds.width - text.width) / 2, kCaptionMargin);
    const int y = std::max((bounds.height - text.height) / 2, kCaptionMargin);
    canvas.DrawText(x, y, caption_, box_.Enabled() ? foreColor_ : kGreyCaption);
}

}  // namespace kestrum
