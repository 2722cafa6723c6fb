// Opens the File Selection dialog in a sandbox, over a stand-in for its host, so that it can be
// looked at and tried by hand; it prints what Select handed back. With "--time FOLDER" it times
// the dialog's opening of a folder instead (for bench/tree.sh) and prints the milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/win32/Win32Platform.h"
#include "ui/selection/FileSelectionDialog.h"

namespace {

struct Host final : kestrum::IFileSelectionHost {
    void SetEntryText(const std::string& text) override {
        std::printf("selected %s\n", text.c_str());
    }
    void SetBrowseFolder(const std::string&) override {}
    void RestoreEntryField() override {}
    kestrum::TwipsRect Bounds() const override { return {3000, 2000, 9000, 7000}; }
};

}  // namespace

int main(int argc, char** argv) {
    kestrum::win32::Win32Platform system;
    const kestrum::Platform platform = system.services();
    Host host;
    kestrum::FileSelectionDialog dialog(platform, true, host);
    if (argc == 3 && std::strcmp(argv[1], "--time") == 0) {
        dialog.window().Show();
        platform.ui.ProcessPendingEvents();
        LARGE_INTEGER frequency{}, start{}, end{};
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        dialog.ChangePath(argv[2]);
        platform.ui.ProcessPendingEvents();
        QueryPerformanceCounter(&end);
        kestrum::ITreeView& tree = dialog.tree().tree();
        const kestrum::TreeNode shown = tree.Selected();
        int grandchildren = 0;
        for (auto child = tree.FirstChild(shown); child != kestrum::kNoNode;
             child = tree.NextSibling(child)) {
            for (auto inner = tree.FirstChild(child); inner != kestrum::kNoNode;
                 inner = tree.NextSibling(inner)) {
                ++grandchildren;
            }
        }
        const auto ms = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
            return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
                   static_cast<double>(frequency.QuadPart);
        };
        // The reference lists the same folders, started and awaited from here.
        std::string command = std::string("cmd /c dir /s /b /ad \"") + argv[2] + "\" >NUL";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        LARGE_INTEGER dirStart{}, dirEnd{};
        QueryPerformanceCounter(&dirStart);
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                            nullptr, nullptr, &startup, &process)) {
            return 1;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        QueryPerformanceCounter(&dirEnd);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::printf("tree %.1f ms, expanded %d, %d folders preloaded; dir %.1f ms\n",
                    ms(start, end), tree.Expanded(shown) ? 1 : 0, grandchildren,
                    ms(dirStart, dirEnd));
        return 0;
    }
    dialog.ChangePath("c:\\windows");
    dialog.SetFileName("win.ini");
    dialog.ShowModal();
    return 0;
}
