#include "platform/win32/ui/Win32ListBox.h"

#include <windowsx.h>

#include "platform/win32/WideString.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;

template <typename Handler, typename... Args>
void Raise(const Handler& handler, Args&&... args) {
    if (handler) {
        const Handler copy = handler;  // it may replace itself
        copy(std::forward<Args>(args)...);
    }
}

}  // namespace

Win32ListBox::Win32ListBox(Win32Window& window, const std::string& name, int id,
                           const TwipsRect& where, bool sorted)
    : Win32Control(window, name, id) {
    // The list keeps the height it is given rather than a whole number of rows, so that the
    // windows can place things by its rows.
    const DWORD style = WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                        LBS_HASSTRINGS | (sorted ? LBS_SORT : 0);
    Create(L"LISTBOX", style, where, "", WS_EX_CLIENTEDGE);
    if (hwnd_ != nullptr) {
        SetWindowSubclass(hwnd_, &Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
}

Win32ListBox::~Win32ListBox() {
    if (hwnd_ != nullptr) {
        RemoveWindowSubclass(hwnd_, &Subclass, kSubclassId);
    }
}

void Win32ListBox::AddItem(const std::string& text) {
    if (hwnd_ == nullptr) {
        return;
    }
    const std::wstring wide = Utf8ToWide(text);
    const LRESULT at = SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (at < 0 || at > Count()) {
        return;
    }
    // A sorted list puts the row where it belongs, which moves the selection with it.
    rows_.insert(rows_.begin() + at, text);
    selected_ = static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
}

void Win32ListBox::RemoveItem(int row) {
    if (hwnd_ == nullptr || row < 0 || row >= Count()) {
        return;
    }
    SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    rows_.erase(rows_.begin() + row);
    selected_ = static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
}

void Win32ListBox::Clear() {
    if (hwnd_ != nullptr) {
        SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
        rows_.clear();
        selected_ = -1;
    }
}

std::string Win32ListBox::ItemText(int row) const {
    return row >= 0 && row < Count() ? rows_[static_cast<std::size_t>(row)] : std::string();
}

int Win32ListBox::SelectedIndex() const {
    if (hwnd_ == nullptr) {
        return selected_;
    }
    const auto row = static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
    return row >= 0 ? row : -1;
}

void Win32ListBox::SetSelectedIndex(int row) {
    if (hwnd_ == nullptr) {
        return;
    }
    selected_ = row >= 0 && row < Count() ? row : -1;
    SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
}

TwipsRect Win32ListBox::ItemRect(int row) const {
    RECT r{};
    if (hwnd_ == nullptr || row < 0 || row >= Count() ||
        SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r)) == LB_ERR) {
        return {};
    }
    const ScreenMetrics& scale = window_.toolkit().Scale();
    return {scale.TwipsX(r.left), scale.TwipsY(r.top), scale.TwipsX(r.right - r.left),
            scale.TwipsY(r.bottom - r.top)};
}

bool Win32ListBox::OnCommand(WORD code) {
    if (code == LBN_SELCHANGE) {
        selected_ = SelectedIndex();
        if (AcceptsInput()) {
            Raise(onClick_);
        }
        return true;
    }
    if (code == LBN_DBLCLK) {
        if (AcceptsInput()) {
            Raise(onDoubleClick_);
        }
        return true;
    }
    return false;
}

LRESULT CALLBACK Win32ListBox::Subclass(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                        UINT_PTR, DWORD_PTR self) {
    try {
        reinterpret_cast<Win32ListBox*>(self)->Handle(message, wparam, lparam);
    } catch (...) {
        // A handler that throws is passed over, as at the window's own procedure.
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

void Win32ListBox::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEMOVE: {
            if (!AcceptsInput()) {
                return;
            }
            const ScreenMetrics& scale = window_.toolkit().Scale();
            MouseEvent event;
            event.action = message == WM_MOUSEMOVE ? MouseAction::Move
                           : (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
                               ? MouseAction::Press
                               : MouseAction::Release;
            event.button =
                (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)   ? MouseButton::Left
                : (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) ? MouseButton::Right
                                                                         : MouseButton::None;
            event.x = scale.TwipsX(GET_X_LPARAM(lparam));
            event.y = scale.TwipsY(GET_Y_LPARAM(lparam));
            event.shift = (wparam & MK_SHIFT) != 0;
            event.control = (wparam & MK_CONTROL) != 0;
            Raise(onMouse_, event);
            return;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Raise(onFocus_, message == WM_SETFOCUS);
            return;
        case WM_DESTROY:
            selected_ = SelectedIndex();
            return;
        default:
            return;
    }
}

}  // namespace kestrum::win32
