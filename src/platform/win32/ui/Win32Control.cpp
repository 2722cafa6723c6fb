#include "platform/win32/ui/Win32Control.h"

#include <windowsx.h>

#include "platform/win32/WideString.h"
#include "platform/win32/ui/Win32Tabs.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {

Win32Control::Win32Control(Win32Window& window, std::string name, int id)
    : window_(window), name_(std::move(name)), id_(id) {}

void Win32Control::Create(const wchar_t* className, DWORD style, const TwipsRect& where,
                          const std::string& caption, DWORD exStyle) {
    text_ = caption;
    bounds_ = where;
    if (window_.hwnd() == nullptr) {
        return;
    }
    const ScreenMetrics& screen = window_.toolkit().Scale();
    hwnd_ = CreateWindowExW(
        exStyle, className, Utf8ToWide(caption).c_str(), WS_CHILD | WS_VISIBLE | style,
        screen.PixelsX(where.left), screen.PixelsY(where.top), screen.PixelsX(where.width),
        screen.PixelsY(where.height), window_.hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ != nullptr) {
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(window_.toolkit().font()), TRUE);
    }
}

Win32Control::~Win32Control() {
    if (subclassed_ && hwnd_ != nullptr) {
        RemoveWindowSubclass(hwnd_, &SubclassProcedure, 1);
    }
}

void Win32Control::Subclass() {
    if (hwnd_ != nullptr && !subclassed_) {
        subclassed_ = SetWindowSubclass(hwnd_, &SubclassProcedure, 1,
                                        reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    }
}

LRESULT CALLBACK Win32Control::SubclassProcedure(HWND hwnd, UINT message, WPARAM wparam,
                                                 LPARAM lparam, UINT_PTR, DWORD_PTR self) {
    LRESULT result = 0;
    try {
        if (reinterpret_cast<Win32Control*>(self)->OnSubclassMessage(message, wparam, lparam,
                                                                     result)) {
            return result;
        }
    } catch (...) {
        // A handler that throws is passed over, as at the window's own procedure.
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

MouseEvent MouseEventOf(UINT message, WPARAM wparam, LPARAM lparam, const ScreenMetrics& scale) {
    MouseEvent event;
    event.action = message == WM_MOUSEMOVE ? MouseAction::Move
                   : (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
                       ? MouseAction::Press
                       : MouseAction::Release;
    event.button = (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)   ? MouseButton::Left
                   : (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) ? MouseButton::Right
                                                                            : MouseButton::None;
    event.x = scale.TwipsX(GET_X_LPARAM(lparam));
    event.y = scale.TwipsY(GET_Y_LPARAM(lparam));
    event.shift = (wparam & MK_SHIFT) != 0;
    event.control = (wparam & MK_CONTROL) != 0;
    return event;
}

void Win32Control::Detach() {
    hwnd_ = nullptr;
}

void Win32Control::SetText(const std::string& text) {
    text_ = text;
    if (hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, Utf8ToWide(text).c_str());
        // A status line must show at once, even when the run does not process events for a while.
        UpdateWindow(hwnd_);
    }
}

std::string Win32Control::Text() const {
    if (hwnd_ == nullptr) {
        return text_;
    }
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return WideToUtf8(text);
}

void Win32Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (hwnd_ != nullptr) {
        EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    }
}

bool Win32Control::Enabled() const {
    return hwnd_ != nullptr ? IsWindowEnabled(hwnd_) != 0 : enabled_;
}

void Win32Control::SetVisible(bool visible) {
    visible_ = visible;
    if (hwnd_ != nullptr) {
        ShowWindow(hwnd_, visible_ && pageShown_ ? SW_SHOWNA : SW_HIDE);
        RepaintOverSiblings();
    }
}

void Win32Control::RepaintOverSiblings() {
    // A control laid over another (the list's entry field) has its frame drawn at once when it
    // moves or shows, while the control beneath paints its pending changes later and over it;
    // marking the whole control, frame included, invalid has it drawn after them.
    if (IsWindowVisible(hwnd_)) {
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void Win32Control::SetPageShown(bool shown) {
    pageShown_ = shown;
    SetVisible(visible_);
}

bool Win32Control::Visible() const {
    // On a page behind another, the window is hidden whatever the control's own wish.
    if (hwnd_ == nullptr || !pageShown_) {
        return visible_;
    }
    return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Control::SetBounds(const TwipsRect& where) {
    bounds_ = where;
    if (hwnd_ != nullptr) {
        const ScreenMetrics& screen = window_.toolkit().Scale();
        MoveWindow(hwnd_, screen.PixelsX(where.left), screen.PixelsY(where.top),
                   screen.PixelsX(where.width), screen.PixelsY(where.height), TRUE);
        RepaintOverSiblings();
    }
}

void Win32Control::SetFocus() {
    if (hwnd_ != nullptr) {
        // Through the dialog manager, so that the default button's frame follows the focus.
        SendMessageW(window_.hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd_), TRUE);
    }
}

bool Win32Control::HasFocus() const {
    return hwnd_ != nullptr && GetFocus() == hwnd_;
}

void Win32Control::SetToolTip(const std::string& text) {
    if (hwnd_ == nullptr) {
        return;
    }
    HWND tips = window_.ToolTips();
    if (tips == nullptr) {
        return;
    }
    std::wstring wide = Utf8ToWide(text);
    TOOLINFOW tool{};
    // The smallest record every version of the common controls accepts.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    tool.lpszText = wide.data();
    if (wide.empty()) {
        if (hasToolTip_) {
            SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
            hasToolTip_ = false;
        }
    } else if (hasToolTip_) {
        SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        hasToolTip_ = SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    }
}

bool Win32Control::AcceptsInput() const {
    HWND top = window_.hwnd();
    return hwnd_ != nullptr && top != nullptr && IsWindowEnabled(hwnd_) && IsWindowEnabled(top) &&
           (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

HBRUSH Win32Control::Backdrop(HDC dc) const {
    return pageOf_ != nullptr ? pageOf_->PageBackground(dc, hwnd_) : FaceBackground(dc);
}

HBRUSH FaceBackground(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace kestrum::win32
