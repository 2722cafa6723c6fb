// What only the real window system can show about the toolkit, beside its contract suite.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/ui/Win32TreeView.h"
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

// A modal window that goes is not deactivated by its own going, and leaves its owner active: one
// that closes itself when the user turns to another window (as the File Selection dialog does)
// would otherwise unload again in the middle of its unloading, and no window would be active.
TEST(Win32UiToolkitTest, AModalWindowThatGoesHandsTheActivationBack) {
    Win32Application application;
    Win32UiToolkit ui{application};
    auto owner = ui.CreateTopWindow("Owner", " Owner", 3000, 1500);
    owner->Show();
    auto modal = ui.CreateTopWindow("Modal", " Modal", 2000, 1000);
    int deactivations = 0;
    modal->SetOnDeactivate([&] { ++deactivations; });
    modal->StartTimer(1, 50, [&] { modal->Unload(); });
    modal->ShowModal();
    EXPECT_EQ(deactivations, 0);
    EXPECT_EQ(GetActiveWindow(), dynamic_cast<Win32Window&>(*owner).hwnd());
}

// The pixels of one picture of the list, drawn on white.
std::vector<COLORREF> Pixels(HIMAGELIST list, int index) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    RECT all{0, 0, 16, 16};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list, index, dc.get(), 0, 0, ILD_NORMAL);
    GdiFlush();
    const auto* first = static_cast<const COLORREF*>(bits);
    std::vector<COLORREF> pixels(first, first + 256);
    SelectObject(dc.get(), old);
    return pixels;
}

TEST(Win32UiToolkitTest, TheTreeShowsItsOwnDistinctPicturesOnAClearGround) {
    Win32Application application;
    Win32UiToolkit ui{application};
    auto window = ui.CreateTopWindow("Tree", " Tree", 3000, 3000);
    auto& tree = dynamic_cast<Win32TreeView&>(window->AddTreeView("TV", {0, 0, 3000, 3000}));
    HIMAGELIST list = TreeView_GetImageList(tree.hwnd(), TVSIL_NORMAL);
    ASSERT_NE(list, nullptr) << "the pictures are in the program's resources";
    int width = 0, height = 0;
    ImageList_GetIconSize(list, &width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(16, 16));
    ASSERT_EQ(ImageList_GetImageCount(list), tree_images::kCount);
    std::vector<std::vector<COLORREF>> pictures;
    for (int n = 1; n <= tree_images::kCount; ++n) {
        pictures.push_back(Pixels(list, n - 1));
    }
    EXPECT_EQ(pictures[tree_images::kFolder - 1][0] & 0xFFFFFF, 0xFFFFFFu) << "a clear corner";
    // Picture 3 belongs to no kind of node.
    for (int a = 1; a <= tree_images::kCount; ++a) {
        if (a == 3) {
            continue;
        }
        for (int b = a + 1; b <= tree_images::kCount; ++b) {
            EXPECT_NE(pictures[a - 1], pictures[b - 1]) << "pictures " << a << " and " << b;
        }
    }
    // The strip a 144 dpi screen takes instead is there too, drawn at its own size.
    BitmapHandle large(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(kTreeImages24Resource),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP strip{};
    ASSERT_NE(GetObjectW(large.get(), sizeof(strip), &strip), 0);
    EXPECT_EQ(std::make_pair(strip.bmWidth, strip.bmHeight),
              std::make_pair(24L * tree_images::kCount, 24L));
}

}  // namespace
}  // namespace kestrum::win32
