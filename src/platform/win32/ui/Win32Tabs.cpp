#include "platform/win32/ui/Win32Tabs.h"

#include "platform/win32/WideString.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {

Win32Tabs::Win32Tabs(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
                     const std::vector<std::string>& captions)
    : Win32Control(window, name, id), count_(static_cast<int>(captions.size())) {
    // Clipped by its siblings: a repaint of the tabs must not cover the controls on its pages.
    Create(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPSIBLINGS | TCS_FOCUSONBUTTONDOWN, where, "");
    if (hwnd_ == nullptr) {
        return;
    }
    for (int i = 0; i < count_; ++i) {
        std::wstring caption = Utf8ToWide(captions[static_cast<std::size_t>(i)]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(hwnd_, TCM_INSERTITEMW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
    TabCtrl_SetCurSel(hwnd_, 0);
}

void Win32Tabs::Select(int tab) {
    if (tab < 0 || tab >= count_ || tab == selected_) {
        return;
    }
    const int previous = selected_;
    selected_ = tab;
    if (hwnd_ != nullptr) {
        // Tells nobody: the notifications are for the user's clicks.
        TabCtrl_SetCurSel(hwnd_, tab);
    }
    Switched(previous);
}

void Win32Tabs::Place(IControl& control, int tab) {
    auto* placed = dynamic_cast<Win32Control*>(&control);
    if (placed == nullptr || placed == this) {
        return;
    }
    placed_.emplace_back(placed, tab);
    HWND child = placed->hwnd();
    if (hwnd_ != nullptr && child != nullptr) {
        // The tabs go just below the lowest control placed on them. The z-order is the Tab order
        // as well, so the tabs come after the controls of their pages, not at the very end.
        for (HWND below = GetWindow(hwnd_, GW_HWNDNEXT); below != nullptr;
             below = GetWindow(below, GW_HWNDNEXT)) {
            if (below == child) {
                SetWindowPos(hwnd_, child, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
                break;
            }
        }
    }
    placed->SetPageOf(this);
    placed->SetPageShown(tab == selected_);
}

bool Win32Tabs::OnNotify(const NMHDR& header, LRESULT* result) {
    if (header.code == TCN_SELCHANGING) {
        // A click the toolkit refuses (disabled window or tabs) leaves the tab where it is.
        *result = AcceptsInput() ? FALSE : TRUE;
        return true;
    }
    if (header.code == TCN_SELCHANGE) {
        const int now = TabCtrl_GetCurSel(hwnd_);
        if (now >= 0 && now != selected_) {
            const int previous = selected_;
            selected_ = now;
            Switched(previous);
        }
        *result = 0;
        return true;
    }
    return false;
}

bool Win32Tabs::Step(int by) {
    if (count_ < 2 || !AcceptsInput()) {
        return false;
    }
    Select(((selected_ + by) % count_ + count_) % count_);
    return true;
}

void Win32Tabs::Switched(int previous) {
    // Focus on a control that is about to hide would leave the keyboard nowhere.
    if (PlacedHasFocus(previous)) {
        SetFocus();
    }
    ShowPages();
    try {
        Raise(onSelect_, previous);
    } catch (...) {
        // Passed over, as at the window procedure: Ctrl+Tab arrives outside it.
    }
}

void Win32Tabs::ShowPages() {
    // The new page first, so that the window is never without both.
    for (auto& [control, tab] : placed_) {
        if (tab == selected_) {
            control->SetPageShown(true);
        }
    }
    for (auto& [control, tab] : placed_) {
        if (tab != selected_) {
            control->SetPageShown(false);
        }
    }
}

namespace {

// Whether the program draws with a visual theme. Systems without the theme library draw the
// classic way, where a tab's body is the window's face.
bool Themed() {
    using Fn = BOOL(WINAPI*)();
    HMODULE themes = GetModuleHandleW(L"uxtheme.dll");
    FARPROC found = themes != nullptr ? GetProcAddress(themes, "IsAppThemed") : nullptr;
    return found != nullptr && reinterpret_cast<Fn>(reinterpret_cast<void*>(found))() != FALSE;
}

}  // namespace

HBRUSH Win32Tabs::PageBackground(HDC dc, HWND control) {
    RECT client{};
    if (hwnd_ == nullptr || control == nullptr || !GetClientRect(hwnd_, &client) || !Themed()) {
        return FaceBackground(dc);
    }
    const SIZE size{client.right, client.bottom};
    if (!body_ || size.cx != bodySize_.cx || size.cy != bodySize_.cy) {
        body_.reset();
        const ScreenDc screen{GetDC(nullptr)};
        const MemoryDc memory{screen ? CreateCompatibleDC(screen.get()) : nullptr};
        const BitmapHandle picture{screen ? CreateCompatibleBitmap(screen.get(), size.cx, size.cy)
                                          : nullptr};
        if (!memory || !picture) {
            return FaceBackground(dc);
        }
        const HGDIOBJ old = SelectObject(memory.get(), picture.get());
        SendMessageW(hwnd_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()),
                     PRF_CLIENT | PRF_ERASEBKGND);
        SelectObject(memory.get(), old);
        // The brush keeps its own copy of the picture.
        body_.reset(CreatePatternBrush(picture.get()));
        bodySize_ = size;
    }
    if (!body_) {
        return FaceBackground(dc);
    }
    POINT origin{0, 0};
    MapWindowPoints(hwnd_, control, &origin, 1);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    SetBkMode(dc, TRANSPARENT);
    return body_.get();
}

bool Win32Tabs::PlacedHasFocus(int tab) const {
    HWND focus = GetFocus();
    if (focus == nullptr) {
        return false;
    }
    for (const auto& [control, on] : placed_) {
        HWND child = control->hwnd();
        if (on == tab && child != nullptr && (focus == child || IsChild(child, focus))) {
            return true;
        }
    }
    return false;
}

}  // namespace kestrum::win32
