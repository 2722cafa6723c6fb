// The installed Kestrum.exe driven from outside, through its windows, as a user would.
#include <gtest/gtest.h>

#include "WinTestSupport.h"

namespace kestrum::wintest {
namespace {

// Generous: a loaded two-core machine under Wine.
constexpr DWORD kTimeout = 60000;
const std::wstring kOptionsTitle = L" Kestrum Options";

std::wstring KestrumWith(const std::wstring& arguments) {
    return L"\"" + InstalledKestrum() + L"\" " + arguments;
}

void CloseAndExpectExit(Process& process, HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(process.WaitForExit(kTimeout, &code));
    EXPECT_EQ(code, 0u);
}

// Beside a running options window a second interactive start is refused, a shortcut start is
// not, and a start-up run ends by itself without showing any window.
TEST(Scenario, OnlyASecondInteractiveStartIsRefused) {
    Process first(KestrumWith(L""));
    HWND options = WaitForWindow(first.id(), kOptionsTitle, kTimeout);
    ASSERT_NE(options, nullptr);
    {
        Process second(KestrumWith(L""));
        HWND box = WaitForWindow(second.id(), L"Kestrum", kTimeout,
                                 L"The Kestrum program is already running");
        ASSERT_NE(box, nullptr) << DescribeWindowsOf(second.id());
        EXPECT_EQ(WaitForWindow(second.id(), kOptionsTitle, 0), nullptr);
        Press(FindButton(box, L"OK"));
        DWORD code = 1;
        ASSERT_TRUE(second.WaitForExit(kTimeout, &code));
        EXPECT_EQ(code, 0u);
    }
    {
        Process shortcut(KestrumWith(L"/run"));
        HWND window = WaitForWindow(shortcut.id(), kOptionsTitle, kTimeout);
        ASSERT_NE(window, nullptr) << "a shortcut start is not refused";
        CloseAndExpectExit(shortcut, window);
    }
    Process silent(KestrumWith(L"/startup"));
    ASSERT_TRUE(silent.started());
    bool sawWindow = false;
    const ULONGLONG deadline = GetTickCount64() + kTimeout;
    while (!silent.WaitForExit(5) && GetTickCount64() < deadline) {
        sawWindow = sawWindow || !VisibleWindowsOf(silent.id()).empty();
    }
    DWORD code = 1;
    ASSERT_TRUE(silent.WaitForExit(0, &code)) << "the silent run must end by itself";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(sawWindow);
    CloseAndExpectExit(first, options);
}

TEST(Scenario, CleanNowShowsProgressAndCancelStops) {
    Process app(KestrumWith(L""));
    HWND options = WaitForWindow(app.id(), kOptionsTitle, kTimeout);
    ASSERT_NE(options, nullptr);

    // A whole run: the progress window comes and goes, then the report; a reboot offer (a file
    // survived) is declined.
    Press(FindButton(options, L"Clean Now"));
    HWND banner = WaitForWindow(app.id(), L" Kestrum", kTimeout);
    ASSERT_NE(banner, nullptr);
    EXPECT_NE(FindButton(banner, L"Cancel"), nullptr);
    EXPECT_FALSE(IsWindowVisible(options)) << "the starting window hides during the run";
    ASSERT_EQ(WaitForWindow(app.id(), kOptionsTitle, kTimeout), options);
    EXPECT_FALSE(IsWindow(banner));
    const std::wstring completed = L"The Kestrum process was successfully completed";
    HWND report = nullptr;
    for (ULONGLONG end = GetTickCount64() + kTimeout; !report && GetTickCount64() < end;) {
        report = WaitForWindow(app.id(), L" Kestrum", 0, completed);
        report = report ? report : WaitForWindow(app.id(), L" Reboot", 0);
    }
    ASSERT_NE(report, nullptr) << DescribeWindowsOf(app.id());
    HWND answer = FindButton(report, L"OK");
    Press(answer != nullptr ? answer : FindButton(report, L"No"));
    const ULONGLONG deadline = GetTickCount64() + kTimeout;
    while (IsWindow(report) && GetTickCount64() < deadline) {
        Sleep(50);
    }
    ASSERT_FALSE(IsWindow(report));

    // A cancelled run ends with the stopped message, after the progress window, and no report.
    Press(FindButton(options, L"Clean Now"));
    banner = WaitForWindow(app.id(), L" Kestrum", kTimeout);
    ASSERT_NE(banner, nullptr);
    Press(FindButton(banner, L"Cancel"));
    HWND box = WaitForWindow(app.id(), L" Kestrum", kTimeout,
                             L"The Kestrum process was successfully stopped");
    ASSERT_NE(box, nullptr) << DescribeWindowsOf(app.id());
    EXPECT_FALSE(IsWindow(banner)) << "the progress window closes first";
    Press(FindButton(box, L"OK"));
    ASSERT_EQ(WaitForWindow(app.id(), kOptionsTitle, kTimeout), options);
    EXPECT_EQ(WaitForWindow(app.id(), L" Kestrum", 1500, completed), nullptr);
    CloseAndExpectExit(app, options);
}

}  // namespace
}  // namespace kestrum::wintest
