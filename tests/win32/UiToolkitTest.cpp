// What only the real window system can show about the toolkit, beside its contract suite.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "platform/win32/Win32Services.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {
namespace {

// Makes the system refuse every window the thread asks for while it is installed.
LRESULT CALLBACK RefuseCreation(int code, WPARAM wparam, LPARAM lparam) {
    return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, wparam, lparam);
}

void CALLBACK LoopHung(HWND, UINT, UINT_PTR, DWORD) {
    std::fprintf(stderr, "the message loop waited for a window that was never made\n");
    std::fflush(stderr);
    ExitProcess(3);
}

TEST(Win32UiToolkitTest, AWindowTheSystemRefusedDoesNotKeepTheLoopRunning) {
    Win32Application application;
    Win32UiToolkit ui{application};
    auto shown = ui.CreateTopWindow("Shown", " Shown", 3000, 1500);
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseCreation, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    auto refused = ui.CreateTopWindow("Refused", " Refused", 3000, 1500);
    UnhookWindowsHookEx(hook);

    EXPECT_TRUE(shown->Loaded());
    EXPECT_FALSE(refused->Loaded());
    ILabel& label = refused->AddLabel("statusLabel", {0, 0, 1000, 300}, "kept");
    EXPECT_EQ(label.Text(), "kept") << "a control of a refused window keeps its state";

    shown->Show();
    PostMessageW(dynamic_cast<Win32Window&>(*shown).hwnd(), WM_CLOSE, 0, 0);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 20000, LoopHung);
    ui.RunUntilAllWindowsClosed();
    KillTimer(nullptr, watchdog);
    EXPECT_FALSE(shown->Loaded());
}

}  // namespace
}  // namespace kestrum::win32
