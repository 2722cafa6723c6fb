// Opens the File Selection dialog in a sandbox, over a stand-in for its host, so that it can be
// looked at and tried by hand; it prints what Select handed back.
#include <windows.h>

#include <cstdio>

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

int main() {
    kestrum::win32::Win32Platform system;
    const kestrum::Platform platform = system.services();
    Host host;
    kestrum::FileSelectionDialog dialog(platform, true, host);
    dialog.ChangePath("c:\\windows");
    dialog.SetFileName("win.ini");
    dialog.ShowModal();
    return 0;
}
