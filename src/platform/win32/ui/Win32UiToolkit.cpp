#include "platform/win32/ui/Win32UiToolkit.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/ResourceIds.h"
#include "platform/win32/ui/Win32MessageBox.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {

Win32UiToolkit::Win32UiToolkit(IApplication& application) : application_(application) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Win32Window::Procedure;
    // Room for the dialog manager's own data: DefDlgProcW keeps it there.
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(KESTRUM_PROGRAM_ICON));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);

    NONCLIENTMETRICSW metrics{};
    // The record without the padding that Vista added, which older systems refuse.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(metrics.lfMessageFont);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    }
    if (const ScreenDc screen{GetDC(nullptr)}) {
        const int dpiX = std::max(1, GetDeviceCaps(screen.get(), LOGPIXELSX));
        const int dpiY = std::max(1, GetDeviceCaps(screen.get(), LOGPIXELSY));
        scale_.twipsPerPixelX = std::max(1, 1440 / dpiX);
        scale_.twipsPerPixelY = std::max(1, 1440 / dpiY);
    }
}

std::unique_ptr<IWindow> Win32UiToolkit::CreateTopWindow(const std::string& name,
                                                         const std::string& title, int widthTwips,
                                                         int heightTwips, WindowFrame frame) {
    return std::make_unique<Win32Window>(*this, name, title, widthTwips, heightTwips, frame);
}

ScreenMetrics Win32UiToolkit::Screen() const {
    ScreenMetrics screen = scale_;
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    screen.workArea = {screen.TwipsX(work.left), screen.TwipsY(work.top),
                       screen.TwipsX(work.right - work.left),
                       screen.TwipsY(work.bottom - work.top)};
    return screen;
}

MessageAnswer Win32UiToolkit::ShowMessage(const std::string& text, const std::string& title,
                                          MessageButtons buttons, MessageIcon icon) {
    return ShowMessageBox(text, title, buttons, icon);
}

bool Win32UiToolkit::HasPendingInput() {
    return HIWORD(GetQueueStatus(QS_INPUT)) != 0;
}

void Win32UiToolkit::Dispatch(MSG& msg) {
    Win32Window* window =
        msg.hwnd != nullptr ? Win32Window::From(GetAncestor(msg.hwnd, GA_ROOT)) : nullptr;
    if (window != nullptr) {
        // A disabled window gets no keys from the user, so its preview sees none either.
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
            IsWindowEnabled(window->hwnd()) && window->PreviewKey(msg)) {
            return;
        }
        // Ahead of the dialog manager, which would take Ctrl+Tab for a plain Tab.
        if (window->TabsKey(msg)) {
            return;
        }
        if (window->hwnd() != nullptr && IsDialogMessageW(window->hwnd(), &msg)) {
            return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32UiToolkit::ProcessPendingEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // The loops look at the windows themselves; a quit message means nothing to them.
        if (msg.message != WM_QUIT) {
            Dispatch(msg);
        }
    }
}

void Win32UiToolkit::WaitForEvents(std::uint32_t milliseconds) {
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::vector<HWND> Win32UiToolkit::DisableWindowsBut(const Win32Window& keep) {
    std::vector<HWND> disabled;
    for (Win32Window* window : windows_) {
        HWND hwnd = window->hwnd();
        if (window != &keep && hwnd != nullptr && IsWindowEnabled(hwnd)) {
            EnableWindow(hwnd, FALSE);
            disabled.push_back(hwnd);
        }
    }
    return disabled;
}

bool Win32UiToolkit::IsProgramWindow(HWND hwnd) const {
    return hwnd != nullptr &&
           std::any_of(windows_.begin(), windows_.end(),
                       [hwnd](const Win32Window* w) { return w->hwnd() == hwnd; });
}

void Win32UiToolkit::WindowDestroyed(Win32Window& window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
}

void Win32UiToolkit::RunUntilAllWindowsClosed() {
    // Every window goes inside a dispatch, so the count is looked at after each one.
    while (!windows_.empty()) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) {
            break;
        }
        if (got != 0) {
            Dispatch(msg);
        }
    }
}

}  // namespace kestrum::win32
