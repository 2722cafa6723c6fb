#pragma once

#include <windows.h>

#include "platform/Ui.h"

namespace kestrum::win32 {

// A canvas over a device context, converting twips with the toolkit's one scale.
class Win32Canvas final : public ICanvas {
  public:
    Win32Canvas(HDC dc, const RECT& area, const ScreenMetrics& scale)
        : dc_(dc), area_(area), scale_(scale) {}

    void Clear(Colour background) override;
    void FillEllipse(double cx, double cy, double radius, double aspect, Colour outline,
                     Colour fill) override;
    void Arc(double cx, double cy, double radius, double aspect, double start, double end,
             Colour colour) override;
    TextExtent MeasureText(const std::string& text) override;
    void DrawText(int x, int y, const std::string& text, Colour colour) override;

    // A scheme colour resolved to its present value.
    static COLORREF Resolve(Colour colour);

  private:
    // The ellipse's bounding box in pixels.
    RECT Box(double cx, double cy, double radius, double aspect) const;
    POINT At(double cx, double cy, double rx, double ry, double angle) const;

    HDC dc_;
    RECT area_;
    const ScreenMetrics& scale_;
};

}  // namespace kestrum::win32
