// The toolkit contract on the Win32 toolkit, under Wine: input goes in as window messages.
#include <windows.h>

#include "contract/UiContract.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/ui/Win32Control.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::contract {
namespace {

HWND HwndOf(IWindow& window) {
    return dynamic_cast<win32::Win32Window&>(window).hwnd();
}

HWND HwndOf(IWindow& window, const std::string& control) {
    return dynamic_cast<win32::Win32Control&>(*window.Find(control)).hwnd();
}

class Win32UiDriver final : public UiDriver {
  public:
    IUiToolkit& ui() override { return ui_; }

    void Click(IWindow& window, const std::string& control) override {
        PostMessageW(HwndOf(window, control), BM_CLICK, 0, 0);
        ui_.ProcessPendingEvents();
    }
    void PressKey(IWindow& window, int key) override {
        HWND top = HwndOf(window);
        HWND target = GetFocus();
        if (target == nullptr || (target != top && !IsChild(top, target))) {
            target = top;
        }
        const auto vk = static_cast<WPARAM>(key);
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(key), 0)) << 16;
        PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
        PostMessageW(target, WM_KEYUP, vk, scan | 1 | (LPARAM{3} << 30));
        ui_.ProcessPendingEvents();
    }
    void PressAccessKey(IWindow& window, char letter) override {
        HWND target = GetFocus();
        if (target == nullptr || !IsChild(HwndOf(window), target)) {
            target = HwndOf(window);
        }
        // With Alt held the system sends system keys; translating one makes the WM_SYSCHAR
        // that the dialog manager looks up among the captions.
        const auto vk = static_cast<UINT>(letter);
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, 0)) << 16;
        PostMessageW(target, WM_SYSKEYDOWN, vk, scan | 1 | (LPARAM{1} << 29));
        PostMessageW(target, WM_SYSKEYUP, vk, scan | 1 | (LPARAM{1} << 29) | (LPARAM{3} << 30));
        ui_.ProcessPendingEvents();
    }
    void Close(IWindow& window) override {
        // The close box: the system command, which the default handling turns into WM_CLOSE.
        PostMessageW(HwndOf(window), WM_SYSCOMMAND, SC_CLOSE, 0);
        ui_.ProcessPendingEvents();
    }
    void PressMouse(IWindow& window, int xTwips, int yTwips) override {
        const ScreenMetrics screen = ui_.Screen();
        PostMessageW(HwndOf(window), WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(screen.PixelsX(xTwips), screen.PixelsY(yTwips)));
        ui_.ProcessPendingEvents();
    }
    bool WaitUntil(const std::function<bool()>& condition, std::uint32_t milliseconds) override {
        const ULONGLONG deadline = GetTickCount64() + milliseconds;
        for (;;) {
            ui_.ProcessPendingEvents();
            if (condition()) {
                return true;
            }
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) {
                return false;
            }
            ui_.WaitForEvents(static_cast<std::uint32_t>(std::min<ULONGLONG>(deadline - now, 50)));
        }
    }
    int ScreenDpi() override {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return dpi;
    }
    std::pair<int, int> ClientPixels(IWindow& window) override {
        RECT rect{};
        GetClientRect(HwndOf(window), &rect);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }
    std::pair<int, int> ControlPixels(IWindow& window, const std::string& control) override {
        RECT rect{};
        GetWindowRect(HwndOf(window, control), &rect);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }

  private:
    win32::Win32Application application_;
    win32::Win32UiToolkit ui_{application_};
};

}  // namespace

std::unique_ptr<UiDriver> MakeUiDriver() {
    return std::make_unique<Win32UiDriver>();
}

}  // namespace kestrum::contract
