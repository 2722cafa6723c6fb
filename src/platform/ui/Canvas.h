#pragma once

#include <cstdint>
#include <string>

namespace kestrum {

// 0x00BBGGRR for a fixed colour; with the highest bit set, the colour of the current scheme
// whose index is in the low byte.
using Colour = std::uint32_t;

namespace colours {
inline constexpr Colour kButtonFace = 0x8000000F;
inline constexpr Colour kButtonText = 0x80000012;
inline constexpr Colour k3dLight = 0x80000016;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kDarkGrey = 0x808080;
inline constexpr Colour kLightGrey = 0xC0C0C0;
inline constexpr Colour kWhite = 0xFFFFFF;
}  // namespace colours

struct TextExtent {
    int width = 0;
    int height = 0;
};

// Drawing on an owner-drawn control, in twips from its top left corner, with a solid pen one
// pixel wide. An ellipse is given by its centre, its larger half-axis (the radius) and its
// aspect, the vertical half-axis over the horizontal one. Angles are radians counter-clockwise
// from three o'clock.
class ICanvas {
  public:
    virtual ~ICanvas() = default;

    virtual void Clear(Colour background) = 0;
    virtual void FillEllipse(double cx, double cy, double radius, double aspect, Colour outline,
                             Colour fill) = 0;
    virtual void Arc(double cx, double cy, double radius, double aspect, double start, double end,
                     Colour colour) = 0;
    // In the control's font.
    virtual TextExtent MeasureText(const std::string& text) = 0;
    // From its top left corner, over what is drawn already.
    virtual void DrawText(int x, int y, const std::string& text, Colour colour) = 0;
};

}  // namespace kestrum
