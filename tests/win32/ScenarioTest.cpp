// The installed Kestrum.exe driven from outside, through its windows, as a user would.
#include <gtest/gtest.h>

#include <algorithm>

#include "WinTestSupport.h"

namespace kestrum::wintest {
namespace {

constexpr DWORD kStartTimeout = 30000;
const std::wstring kOptionsTitle = L" Kestrum Options";

std::wstring KestrumWith(const std::wstring& arguments) {
    std::wstring line = L"\"" + InstalledKestrum() + L"\"";
    return arguments.empty() ? line : line + L" " + arguments;
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A visible message box of the process with that title and text.
HWND WaitForBox(DWORD processId, const std::wstring& title, const std::wstring& text, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        for (HWND w : VisibleWindowsOf(processId)) {
            if (TextOf(w) == title && Contains(ChildTexts(w), text)) {
                return w;
            }
        }
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

void CloseAndExpectExit(Process& process, HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(process.WaitForExit(kStartTimeout, &code));
    EXPECT_EQ(code, 0u);
}

TEST(Scenario, StartupRunEndsByItselfWithoutAnyWindow) {
    Process run(KestrumWith(L"/startup"));
    ASSERT_TRUE(run.started()) << "error " << run.startError();
    bool sawWindow = false;
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (run.Running() && GetTickCount64() < deadline) {
        sawWindow = sawWindow || !VisibleWindowsOf(run.id()).empty();
        Sleep(5);
    }
    DWORD code = 1;
    ASSERT_TRUE(run.WaitForExit(0, &code)) << "the silent run must end by itself";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(sawWindow);
}

TEST(Scenario, OnlyASecondInteractiveStartIsRefused) {
    Process first(KestrumWith(L""));
    HWND options = WaitForWindow(first.id(), kOptionsTitle, kStartTimeout);
    ASSERT_NE(options, nullptr);

    {
        Process second(KestrumWith(L""));
        HWND box = WaitForWindow(second.id(), L"Kestrum", kStartTimeout);
        ASSERT_NE(box, nullptr) << "the single-instance message";
        EXPECT_TRUE(Contains(ChildTexts(box), L"The Kestrum program is already running"));
        EXPECT_EQ(FindButton(box, L"Cancel"), nullptr);
        HWND ok = FindButton(box, L"OK");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(WaitForWindow(second.id(), kOptionsTitle, 0), nullptr);
        Press(ok);
        DWORD code = 1;
        ASSERT_TRUE(second.WaitForExit(kStartTimeout, &code));
        EXPECT_EQ(code, 0u);
    }
    {
        Process shortcut(KestrumWith(L"/run"));
        HWND window = WaitForWindow(shortcut.id(), kOptionsTitle, kStartTimeout);
        ASSERT_NE(window, nullptr) << "a shortcut start is not refused";
        CloseAndExpectExit(shortcut, window);
    }
    {
        Process silent(KestrumWith(L"/startup"));
        DWORD code = 1;
        ASSERT_TRUE(silent.WaitForExit(60000, &code)) << "a start-up run is not refused";
        EXPECT_EQ(code, 0u);
    }
    CloseAndExpectExit(first, options);
}

TEST(Scenario, CleanNowShowsProgressAndCancelStops) {
    Process app(KestrumWith(L""));
    HWND options = WaitForWindow(app.id(), kOptionsTitle, kStartTimeout);
    ASSERT_NE(options, nullptr);

    // A whole run: the progress window comes, goes, and the options window is back.
    Press(FindButton(options, L"Clean Now"));
    HWND banner = WaitForWindow(app.id(), L" Kestrum", kStartTimeout);
    ASSERT_NE(banner, nullptr);
    const auto texts = ChildTexts(banner);
    EXPECT_TRUE(Contains(texts, L"Kestrum Running"));
    EXPECT_TRUE(Contains(texts, L"Cancel"));
    EXPECT_FALSE(IsWindowVisible(options)) << "the starting window hides during the run";
    HWND back = WaitForWindow(app.id(), kOptionsTitle, 60000);
    ASSERT_EQ(back, options);
    EXPECT_FALSE(IsWindow(banner));
    // Then the completion report; a reboot offer (a file survived) is always declined here.
    HWND report = nullptr;
    const ULONGLONG reportDeadline = GetTickCount64() + kStartTimeout;
    while (report == nullptr && GetTickCount64() < reportDeadline) {
        report = WaitForBox(app.id(), L" Kestrum", L"The Kestrum process was successfully completed", 0);
        if (report == nullptr) {
            report = WaitForBox(app.id(), L" Reboot",
                                L"   For a more complete cleaning,\r\nyou should reboot your computer."
                                L"\r\n\r\n     Do you wish to reboot now?",
                                0);
        }
    }
    ASSERT_NE(report, nullptr) << DescribeWindowsOf(app.id());
    HWND answer = FindButton(report, L"OK");
    if (answer == nullptr) {
        answer = FindButton(report, L"No");
    }
    ASSERT_NE(answer, nullptr);
    Press(answer);
    const ULONGLONG goneDeadline = GetTickCount64() + kStartTimeout;
    while (IsWindow(report) && GetTickCount64() < goneDeadline) {
        Sleep(50);
    }
    ASSERT_FALSE(IsWindow(report));

    // A cancelled run ends with the stopped message.
    Press(FindButton(options, L"Clean Now"));
    banner = WaitForWindow(app.id(), L" Kestrum", kStartTimeout);
    ASSERT_NE(banner, nullptr);
    HWND cancel = FindButton(banner, L"Cancel");
    ASSERT_NE(cancel, nullptr);
    Press(cancel);
    HWND box = WaitForBox(app.id(), L" Kestrum", L"The Kestrum process was successfully stopped",
                          kStartTimeout);
    ASSERT_NE(box, nullptr) << DescribeWindowsOf(app.id());
    EXPECT_FALSE(IsWindow(banner)) << "the progress window closes first";
    Press(FindButton(box, L"OK"));
    ASSERT_EQ(WaitForWindow(app.id(), kOptionsTitle, kStartTimeout), options);
    EXPECT_EQ(WaitForBox(app.id(), L" Kestrum", L"The Kestrum process was successfully completed", 1500),
              nullptr)
        << "a cancelled run has no completion report";
    CloseAndExpectExit(app, options);
}

}  // namespace
}  // namespace kestrum::wintest
