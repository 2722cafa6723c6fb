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
        HWND target = FocusIn(window);
        const auto vk = static_cast<WPARAM>(key);
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(key), 0)) << 16;
        PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
        PostMessageW(target, WM_KEYUP, vk, scan | 1 | (LPARAM{3} << 30));
        ui_.ProcessPendingEvents();
    }
    // The modifiers are held in the thread's key state, where the key's handling looks for them.
    void PressChord(IWindow& window, const KeyEvent& key) override {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = key.shift ? 0x80 : 0;
        state[VK_CONTROL] = key.control ? 0x80 : 0;
        state[VK_MENU] = key.alt ? 0x80 : 0;
        SetKeyboardState(state);
        PressKey(window, key.key);
        state[VK_SHIFT] = 0;
        state[VK_CONTROL] = 0;
        state[VK_MENU] = 0;
        SetKeyboardState(state);
    }
    // Each character as its key: the message loop's translation makes the character of it, with
    // shift held in the thread's key state where the character needs it.
    void Type(IWindow& window, const std::string& text) override {
        for (const wchar_t c : win32::Utf8ToWide(text)) {
            const SHORT mapped = VkKeyScanW(c);
            if (mapped == -1) {
                PostMessageW(FocusIn(window), WM_CHAR, c, 1);
                ui_.ProcessPendingEvents();
                continue;
            }
            const auto vk = static_cast<WPARAM>(LOBYTE(mapped));
            const bool shift = (HIBYTE(mapped) & 1) != 0;
            BYTE state[256] = {};
            GetKeyboardState(state);
            state[VK_SHIFT] = shift ? 0x80 : 0;
            SetKeyboardState(state);
            const LPARAM code = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), 0)) << 16;
            PostMessageW(FocusIn(window), WM_KEYDOWN, vk, code | 1);
            ui_.ProcessPendingEvents();
            PostMessageW(FocusIn(window), WM_KEYUP, vk, code | 1 | (LPARAM{3} << 30));
            ui_.ProcessPendingEvents();
            state[VK_SHIFT] = 0;
            SetKeyboardState(state);
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
        const ScreenMetrics screen = ui_.Screen();
        PostMessageW(TopOf(window), WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(screen.PixelsX(xTwips), screen.PixelsY(yTwips)));
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
        const WPARAM key = confirm ? VK_RETURN : VK_ESCAPE;
        PostMessageW(edit, WM_KEYDOWN, key, 1);
        PostMessageW(edit, WM_KEYUP, key, 1 | (LPARAM{3} << 30));
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
    static void Key(HWND to, WPARAM vk) {
        PostMessageW(to, WM_KEYDOWN, vk, 1);
        PostMessageW(to, WM_KEYUP, vk, 1 | (LPARAM{3} << 30));
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
            Key(shown, VK_ESCAPE);
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
            Key(shown, VK_ESCAPE);
            return;
        }
        for (int i = 0; i <= position; ++i) {
            Key(shown, VK_DOWN);
        }
        Key(shown, VK_RETURN);
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
