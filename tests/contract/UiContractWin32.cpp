// The toolkit contract on the Win32 toolkit, under Wine: input goes in as window messages.
#include <windows.h>

#include <commctrl.h>

#include "contract/UiContract.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/ui/Win32Control.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::contract {
namespace {

HWND HwndOf(IWindow& window, const std::string& control) {
    return dynamic_cast<win32::Win32Control&>(*window.Find(control)).hwnd();
}

class Win32UiDriver final : public UiDriver {
  public:
    static HWND TopOf(IWindow& window) { return dynamic_cast<win32::Win32Window&>(window).hwnd(); }
    IUiToolkit& ui() override { return ui_; }

    void Click(IWindow& window, const std::string& control) override {
        PostMessageW(HwndOf(window, control), BM_CLICK, 0, 0);
        ui_.ProcessPendingEvents();
    }
    static HWND FocusIn(IWindow& window) {
        HWND top = TopOf(window);
        HWND target = GetFocus();
        return target != nullptr && (target == top || IsChild(top, target)) ? target : top;
    }
    void PressKey(IWindow& window, int key) override {
        PostKey(FocusIn(window), static_cast<WPARAM>(key));
        ui_.ProcessPendingEvents();
    }
    void PressChord(IWindow& window, const KeyEvent& key) override {
        Hold(key.shift, key.control, key.alt);
        PressKey(window, key.key);
        Hold(false, false, false);
    }
    // Each character as its key: the message loop's translation makes the character of it, with
    // shift held where the character needs it.
    void Type(IWindow& window, const std::string& text) override {
        for (const wchar_t c : win32::Utf8ToWide(text)) {
            const SHORT mapped = VkKeyScanW(c);
            const auto vk = static_cast<WPARAM>(LOBYTE(mapped));
            Hold(mapped != -1 && (HIBYTE(mapped) & 1) != 0, false, false);
            if (mapped == -1) {
                PostMessageW(FocusIn(window), WM_CHAR, c, 1);
            } else {
                PostMessageW(FocusIn(window), WM_KEYDOWN, vk, KeyData(vk));
                ui_.ProcessPendingEvents();
                PostMessageW(FocusIn(window), WM_KEYUP, vk, KeyData(vk) | (LPARAM{3} << 30));
            }
            ui_.ProcessPendingEvents();
            Hold(false, false, false);
        }
    }
    void MouseOn(IWindow& window, const std::string& control, const MouseEvent& event) override {
        const UINT message =
            event.action == MouseAction::Move ? WM_MOUSEMOVE
            : event.button == MouseButton::Right
                ? (event.action == MouseAction::Press ? WM_RBUTTONDOWN : WM_RBUTTONUP)
                : (event.action == MouseAction::Press ? WM_LBUTTONDOWN : WM_LBUTTONUP);
        const WPARAM buttons = message == WM_LBUTTONDOWN   ? MK_LBUTTON
                               : message == WM_RBUTTONDOWN ? MK_RBUTTON
                                                           : 0;
        PostMessageW(HwndOf(window, control), message, buttons, PixelsOf(event.x, event.y));
        ui_.ProcessPendingEvents();
    }
    void DoubleClick(IWindow& window, const std::string& control, int x, int y) override {
        HWND target = HwndOf(window, control);
        const LPARAM at = PixelsOf(x, y);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            PostMessageW(target, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        }
        ui_.ProcessPendingEvents();
    }
    void Close(IWindow& window) override {
        // The close box: the system command, which the default handling turns into WM_CLOSE.
        PostMessageW(TopOf(window), WM_SYSCOMMAND, SC_CLOSE, 0);
        ui_.ProcessPendingEvents();
    }
    void PressMouse(IWindow& window, int xTwips, int yTwips) override {
        PostMessageW(TopOf(window), WM_LBUTTONDOWN, MK_LBUTTON, PixelsOf(xTwips, yTwips));
        ui_.ProcessPendingEvents();
    }
    // A thread timer, which the menu's own message loop dispatches, finds the menu window once
    // it shows and keys down to the item. A greyed item ignores Enter; the user then gives up
    // with Esc at the next tick.
    void ChooseOnNextMenu(const std::string& caption) override {
        choice_ = win32::Utf8ToWide(caption);
        keysSent_ = false;
        SetTimer(nullptr, 0, 50, &MenuTimer);
    }
    std::uint64_t NowMilliseconds() override { return GetTickCount64(); }
    // Presses on the node's text, or on the button or check box left of it that the tree's hit
    // test finds.
    void OnNode(IWindow& window, const std::string& tree, const std::string& key,
                NodeAction action) override {
        HWND hwnd = HwndOf(window, tree);
        const TreeNode node = dynamic_cast<ITreeView&>(*window.Find(tree)).FindNode(key);
        auto* item = reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(node));
        RECT text{};
        if (item == nullptr || !TreeView_GetItemRect(hwnd, item, &text, TRUE)) {
            return;
        }
        POINT at{(text.left + text.right) / 2, (text.top + text.bottom) / 2};
        if (action == NodeAction::Toggle || action == NodeAction::Check) {
            const UINT part =
                action == NodeAction::Toggle ? TVHT_ONITEMBUTTON : TVHT_ONITEMSTATEICON;
            for (at.x = 0; at.x < text.left; ++at.x) {
                TVHITTESTINFO hit{at, 0, nullptr};
                if (TreeView_HitTest(hwnd, &hit) == item && (hit.flags & part) != 0) {
                    break;
                }
            }
        }
        const LPARAM point = MAKELPARAM(at.x, at.y);
        PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(hwnd, WM_LBUTTONUP, 0, point);
        if (action == NodeAction::DoubleClick) {
            PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
            PostMessageW(hwnd, WM_LBUTTONUP, 0, point);
        }
        ui_.ProcessPendingEvents();
    }
    void TypeInLabel(IWindow& window, const std::string& tree, const std::string& text,
                     bool confirm) override {
        HWND edit = TreeView_GetEditControl(HwndOf(window, tree));
        if (edit == nullptr) {
            return;
        }
        SetWindowTextW(edit, win32::Utf8ToWide(text).c_str());
        PostKey(edit, confirm ? VK_RETURN : VK_ESCAPE);
        ui_.ProcessPendingEvents();
    }

    void ChooseTab(IWindow& window, const std::string& tabs, int tab) override {
        HWND hwnd = HwndOf(window, tabs);
        RECT item{};
        if (!TabCtrl_GetItemRect(hwnd, tab, &item)) {
            return;
        }
        const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(hwnd, WM_LBUTTONUP, 0, point);
        ui_.ProcessPendingEvents();
    }

  private:
    LPARAM PixelsOf(int xTwips, int yTwips) {
        const ScreenMetrics screen = ui_.Screen();
        return MAKELPARAM(screen.PixelsX(xTwips), screen.PixelsY(yTwips));
    }
    // A key's repeat count and scan code, as the keyboard gives them.
    static LPARAM KeyData(WPARAM vk) {
        return static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), 0)) << 16 | 1;
    }
    static void PostKey(HWND to, WPARAM vk) {
        PostMessageW(to, WM_KEYDOWN, vk, KeyData(vk));
        PostMessageW(to, WM_KEYUP, vk, KeyData(vk) | (LPARAM{3} << 30));
    }
    // Shift, Ctrl and Alt held or not in the thread's key state, where a key's handling looks.
    static void Hold(bool shift, bool control, bool alt) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        state[VK_CONTROL] = control ? 0x80 : 0;
        state[VK_MENU] = alt ? 0x80 : 0;
        SetKeyboardState(state);
    }
    static void CALLBACK MenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
        HWND shown = FindWindowW(L"#32768", nullptr);
        if (shown == nullptr || !IsWindowVisible(shown)) {
            if (keysSent_) {
                KillTimer(nullptr, id);
            }
            return;
        }
        if (keysSent_) {
            PostKey(shown, VK_ESCAPE);
            KillTimer(nullptr, id);
            return;
        }
        keysSent_ = true;
        auto* menu = reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0));
        int position = -1;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            if (!choice_.empty() && choice_ == text) {
                position = i;
            }
        }
        if (position < 0) {
            PostKey(shown, VK_ESCAPE);
            return;
        }
        for (int i = 0; i <= position; ++i) {
            PostKey(shown, VK_DOWN);
        }
        PostKey(shown, VK_RETURN);
    }

    static inline std::wstring choice_;
    static inline bool keysSent_ = false;
    win32::Win32Application application_;
    win32::Win32UiToolkit ui_{application_};
};

}  // namespace

std::unique_ptr<UiDriver> MakeUiDriver() {
    return std::make_unique<Win32UiDriver>();
}

}  // namespace kestrum::contract
