#include "platform/win32/ui/Win32Canvas.h"

#include <cmath>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"

namespace kestrum::win32 {

namespace {

// Selects a GDI object for one drawing call and puts the old one back.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace

COLORREF Win32Canvas::Resolve(Colour colour) {
    if ((colour & 0x80000000u) != 0) {
        return GetSysColor(static_cast<int>(colour & 0xFFu));
    }
    return static_cast<COLORREF>(colour & 0xFFFFFFu);
}

RECT Win32Canvas::Box(double cx, double cy, double radius, double aspect) const {
    // The radius is the larger half-axis.
    const double rx = aspect <= 1.0 ? radius : radius / aspect;
    const double ry = aspect <= 1.0 ? radius * aspect : radius;
    const double x = scale_.twipsPerPixelX;
    const double y = scale_.twipsPerPixelY;
    // The system leaves out the right and bottom edges of the box it is given.
    return {static_cast<LONG>(std::lround((cx - rx) / x)),
            static_cast<LONG>(std::lround((cy - ry) / y)),
            static_cast<LONG>(std::lround((cx + rx) / x)) + 1,
            static_cast<LONG>(std::lround((cy + ry) / y)) + 1};
}

POINT Win32Canvas::At(double cx, double cy, double rx, double ry, double angle) const {
    return {static_cast<LONG>(std::lround((cx + rx * std::cos(angle)) / scale_.twipsPerPixelX)),
            static_cast<LONG>(std::lround((cy - ry * std::sin(angle)) / scale_.twipsPerPixelY))};
}

void Win32Canvas::Clear(Colour background) {
    BrushHandle brush(CreateSolidBrush(Resolve(background)));
    FillRect(dc_, &area_, brush.get());
}

void Win32Canvas::FillEllipse(double cx, double cy, double radius, double aspect, Colour outline,
                              Colour fill) {
    PenHandle pen(CreatePen(PS_SOLID, 1, Resolve(outline)));
    BrushHandle brush(CreateSolidBrush(Resolve(fill)));
    Selected withPen(dc_, pen.get());
    Selected withBrush(dc_, brush.get());
    const RECT box = Box(cx, cy, radius, aspect);
    Ellipse(dc_, box.left, box.top, box.right, box.bottom);
}

void Win32Canvas::Arc(double cx, double cy, double radius, double aspect, double start, double end,
                      Colour colour) {
    PenHandle pen(CreatePen(PS_SOLID, 1, Resolve(colour)));
    Selected withPen(dc_, pen.get());
    const RECT box = Box(cx, cy, radius, aspect);
    const double rx = aspect <= 1.0 ? radius : radius / aspect;
    const double ry = aspect <= 1.0 ? radius * aspect : radius;
    const POINT from = At(cx, cy, rx, ry, start);
    const POINT to = At(cx, cy, rx, ry, end);
    SetArcDirection(dc_, AD_COUNTERCLOCKWISE);
    ::Arc(dc_, box.left, box.top, box.right, box.bottom, from.x, from.y, to.x, to.y);
}

TextExtent Win32Canvas::MeasureText(const std::string& text) {
    const std::wstring wide = Utf8ToWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return {scale_.TwipsX(size.cx), scale_.TwipsY(size.cy)};
}

void Win32Canvas::DrawText(int x, int y, const std::string& text, Colour colour) {
    const std::wstring wide = Utf8ToWide(text);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, Resolve(colour));
    TextOutW(dc_, scale_.PixelsX(x), scale_.PixelsY(y), wide.c_str(),
             static_cast<int>(wide.size()));
}

}  // namespace kestrum::win32
