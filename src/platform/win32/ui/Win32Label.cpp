#include "platform/win32/ui/Win32Label.h"

#include <algorithm>

#include "platform/win32/ResourceIds.h"
#include "platform/win32/WideString.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 0xCC);

int IconResource(Picture picture) {
    switch (picture) {
        case Picture::Desktop:
            return KESTRUM_DESKTOP_PICTURE;
        case Picture::Documents:
            return KESTRUM_DOCUMENTS_PICTURE;
        case Picture::Program:
            break;
    }
    return KESTRUM_PROGRAM_ICON;
}

}  // namespace

Win32Label::Win32Label(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
                       const std::string& caption, DWORD style)
    : Win32Control(window, name, id) {
    Create(L"STATIC", SS_LEFT | SS_NOPREFIX | style, where, caption);
}

void Win32Label::SetFont(const FontSpec& font) {
    ApplyFont(font, false);
}

void Win32Label::ApplyFont(const FontSpec& font, bool underline) {
    if (hwnd_ == nullptr) {
        return;
    }
    // Points to pixels at the screen's own resolution, through its twips per pixel.
    const int height = -(font.points * 20 + window_.toolkit().Scale().twipsPerPixelY / 2) /
                       window_.toolkit().Scale().twipsPerPixelY;
    FontHandle made(CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, Utf8ToWide(font.face).c_str()));
    if (made) {
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
        font_ = std::move(made);
    }
}

Win32LinkLabel::Win32LinkLabel(Win32Window& window, const std::string& name, int id,
                               const TwipsRect& where, const std::string& caption)
    : Win32Label(window, name, id, where, caption, SS_NOTIFY) {
    LOGFONTW base{};
    GetObjectW(window_.toolkit().font(), sizeof base, &base);
    ApplyFont({WideToUtf8(base.lfFaceName), 8, false}, true);
    Subclass();
}

bool Win32LinkLabel::OnCommand(WORD code) {
    if (code != STN_CLICKED) {
        return false;
    }
    if (AcceptsInput() && onClick_) {
        auto handler = onClick_;
        handler();
    }
    return true;
}

HBRUSH Win32LinkLabel::OnCtlColor(HDC dc) {
    HBRUSH face = FaceBackground(dc);
    SetTextColor(dc, kLinkColour);
    return face;
}

bool Win32LinkLabel::OnSubclassMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_SETCURSOR) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
    result = TRUE;
    return true;
}

Win32Ornament::Win32Ornament(Win32Window& window, const std::string& name, int id,
                             const TwipsRect& where, Kind kind, Picture picture)
    : Win32Control(window, name, id) {
    if (kind == Kind::Separator) {
        Create(L"STATIC", SS_ETCHEDHORZ, where, "");
        return;
    }
    // The shortcut pictures are pixel drawings, made at 32 and 48 pixels for 96 and 144 dpi: the
    // largest that fits is shown whole in the middle, since one stretched by a fraction looks
    // smeared. The program's smooth icon fills its place, at the place's own size.
    const bool drawn = picture != Picture::Program;
    Create(L"STATIC", SS_ICON | (drawn ? SS_CENTERIMAGE : SS_REALSIZECONTROL), where, "");
    const ScreenMetrics& scale = window_.toolkit().Scale();
    int width = scale.PixelsX(where.width);
    int height = scale.PixelsY(where.height);
    if (drawn) {
        const int room = std::min(width, height);
        width = height = room >= 48 ? 48 : room >= 32 ? 32 : 16;
    }
    icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                          MAKEINTRESOURCEW(IconResource(picture)), IMAGE_ICON,
                                          width, height, LR_DEFAULTCOLOR));
    if (hwnd_ != nullptr && icon_ != nullptr) {
        SendMessageW(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
    }
}

Win32Ornament::~Win32Ornament() {
    if (icon_ != nullptr) {
        DestroyIcon(icon_);
    }
}

}  // namespace kestrum::win32
