// The installed Kestrum.exe driven from outside, through its windows, as a user would.
#include <gtest/gtest.h>

#include "WinTestSupport.h"

namespace kestrum::wintest {
namespace {

constexpr DWORD kTimeout = 60000;  // generous: a loaded two-core machine under Wine
const std::wstring kOptions = L" Kestrum Options";

// A visible top-level window of the process with that title (and a child of that text) or nullptr.
HWND WaitForWindow(DWORD processId, const std::wstring& title, DWORD milliseconds,
                   const std::wstring& childText = L"") {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        for (HWND hwnd = nullptr;
             (hwnd = FindWindowExW(nullptr, hwnd, nullptr, title.c_str())) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == processId && IsWindowVisible(hwnd) &&
                (childText.empty() || FindWindowExW(hwnd, nullptr, nullptr, childText.c_str()))) {
                return hwnd;
            }
        }
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

void Press(HWND button) {
    // The click's notification straight to the owner: BM_CLICK needs focus and mouse capture, which
    // Wine's X11 driver may move away from a background window mid-click, losing the click.
    HWND parent = button != nullptr ? GetParent(button) : nullptr;
    if (parent != nullptr) {
        PostMessageW(parent, WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(button)), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
}

HWND FindButton(HWND parent, const std::wstring& caption) {
    return FindWindowExW(parent, nullptr, L"Button", caption.c_str());
}

void ExpectCleanExit(Process& process, HWND window = nullptr) {
    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    DWORD code = 1;
    ASSERT_TRUE(process.WaitForExit(kTimeout, &code));
    EXPECT_EQ(code, 0u);
}

// Beside a running options window a second interactive start is refused with a message. Clean
// Now hides the options window behind the progress window; Cancel stops the run, the progress
// window goes, the stopped message comes and the options window is back.
TEST(Scenario, ASecondStartIsRefusedAndCancelStopsARun) {
    Process app(kKestrum);
    HWND options = WaitForWindow(app.id(), kOptions, kTimeout);
    ASSERT_NE(options, nullptr);
    {
        Process second(kKestrum);
        HWND box = WaitForWindow(second.id(), L"Kestrum", kTimeout,
                                 L"The Kestrum program is already running");
        ASSERT_NE(box, nullptr);
        Press(FindButton(box, L"OK"));
        ExpectCleanExit(second);
    }
    Press(FindButton(options, L"Clean Now"));
    HWND banner = WaitForWindow(app.id(), L" Kestrum", kTimeout);
    ASSERT_NE(banner, nullptr);
    EXPECT_FALSE(IsWindowVisible(options));
    Press(FindButton(banner, L"Cancel"));
    HWND box = WaitForWindow(app.id(), L" Kestrum", kTimeout,
                             L"The Kestrum process was successfully stopped");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindow(banner));
    Press(FindButton(box, L"OK"));
    ASSERT_EQ(WaitForWindow(app.id(), kOptions, kTimeout), options);
    ExpectCleanExit(app, options);
}

}  // namespace
}  // namespace kestrum::wintest
