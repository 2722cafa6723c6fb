#include "platform/win32/ui/Win32ListBox.h"

#include "platform/win32/WideString.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {

Win32ListBox::Win32ListBox(Win32Window& window, const std::string& name, int id,
                           const TwipsRect& where, bool sorted)
    : Win32Control(window, name, id) {
    // The list keeps the height it is given rather than a whole number of rows, so that the
    // windows can place things by its rows.
    const DWORD style = WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                        LBS_HASSTRINGS | (sorted ? LBS_SORT : 0);
    Create(L"LISTBOX", style, where, "", WS_EX_CLIENTEDGE);
    if (hwnd_ != nullptr) {
        Subclass();
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

bool Win32ListBox::OnSubclassMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT&) {
    // The system's list box goes on to handle every message itself.
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEMOVE:
            if (AcceptsInput()) {
                Raise(onMouse_, MouseEventOf(message, wparam, lparam, window_.toolkit().Scale()));
            }
            return false;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Raise(onFocus_, message == WM_SETFOCUS);
            return false;
        case WM_DESTROY:
            selected_ = SelectedIndex();
            return false;
        default:
            return false;
    }
}

}  // namespace kestrum::win32
