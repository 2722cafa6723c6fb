// The "Clean Now" shortcuts made and read back through the real shell of an XP sandbox prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <filesystem>

#include "fakes/FakePlatform.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"
#include "shortcuts/ShortcutMaintenance.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
const std::string kTarget = "C:\\Program Files\\Kestrum\\Kestrum.exe";

// What the shell itself reads from a link file: "<program> <arguments> in <folder>".
std::string LinkOf(const fs::path& file) {
    wchar_t path[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {};
    IShellLinkW* link = nullptr;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
        SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
        link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetArguments(arguments, MAX_PATH);
        link->GetWorkingDirectory(folder, MAX_PATH);
    }
    for (IUnknown* object : {static_cast<IUnknown*>(persist), static_cast<IUnknown*>(link)}) {
        if (object != nullptr) {
            object->Release();
        }
    }
    return win32::WideToUtf8(std::wstring(path) + L" " + arguments + L" in " + folder);
}

TEST(Shortcuts, LinksStartTheProgramWithRunAndNeedTheirFolder) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(fs::exists(kTarget)) << "the program is installed in the prefix";
    fakes::FakePlatform fake;
    win32::Win32SystemInfo system;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    KestrumModule module{Platform{fake.application, system, fake.settings, files, fake.clock,
                                  fake.ui, shell, fake.registry, fake.power, fake.mail,
                                  fake.locale}};
    module.Startup.IsWindowsNT = true;
    const fs::path profile =
        fs::path(L"C:\\Documents and Settings") / win32::Utf8ToWide(system.UserName().value());
    const fs::path desktop = profile / L"Desktop\\Clean Now.lnk",
                   programs = profile / L"Start Menu\\Programs";
    for (const fs::path& folder : {desktop.parent_path(), programs}) {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    const std::string cleanNow = kTarget + " /run in C:\\Program Files\\Kestrum";

    // Made twice over: replaced, not duplicated, and never left in the programs folder.
    for (int time = 0; time < 2; ++time) {
        CreateDesktopShortcut(module.Shortcuts(), "", "Clean Now", kTarget, "/run");
        EXPECT_EQ(LinkOf(desktop), cleanNow);
        EXPECT_TRUE(fs::is_empty(programs));
    }

    // Without its folder the shell makes no link and says so, which the desktop's maker reports.
    fs::remove_all(profile / L"Start Menu");
    EXPECT_FALSE(shell.CreateShellLink(win32::WideToUtf8((programs / L"Clean Now.lnk").wstring()),
                                       kTarget, "/run"));
    CoUninitialize();
}

}  // namespace
}  // namespace kestrum
