// The toolkit contract on the Win32 toolkit, under Wine: input goes in as window messages.
#include <windows.h>

#include "contract/UiContract.h"
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
    void PressKey(IWindow& window, int key) override {
        HWND top = TopOf(window);
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
    std::uint64_t NowMilliseconds() override { return GetTickCount64(); }

  private:
    win32::Win32Application application_;
    win32::Win32UiToolkit ui_{application_};
};

}  // namespace

std::unique_ptr<UiDriver> MakeUiDriver() {
    return std::make_unique<Win32UiDriver>();
}

}  // namespace kestrum::contract
