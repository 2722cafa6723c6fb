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
