// The "Clean Now" shortcuts made, read back and removed through the real shell of a sandbox
// prefix laid out like Windows XP.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "WinTestSupport.h"
#include "fakes/FakePlatform.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "shortcuts/ShortcutMaintenance.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using wintest::Narrow;

const std::string kTarget = "C:\\Program Files\\Kestrum\\Kestrum.exe";
const std::string kCleanNow = kTarget + " /run in C:\\Program Files\\Kestrum";

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
    return Narrow(std::wstring(path) + L" " + arguments + L" in " + folder);
}

class Shortcuts : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    win32::Win32SystemInfo system;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    win32::Win32UiToolkit ui{fake.application};
    Platform services = fake.services();
    KestrumModule module{Platform{services.application, system, services.settings, files, services.clock,
                                  ui, shell, services.registry, services.power}};
    fs::path profile;
    const fs::path quickLaunch = L"Application Data\\Microsoft\\Internet Explorer\\Quick Launch";

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        module.Startup.IsWindowsNT = true;
        ASSERT_TRUE(fs::exists(kTarget)) << "the program is installed in the prefix";
        wchar_t user[256];
        DWORD size = 256;
        ASSERT_TRUE(GetUserNameW(user, &size));
        profile = fs::path(L"C:\\Documents and Settings") / user;
        for (const fs::path& folder : {fs::path(L"Desktop"), fs::path(L"Start Menu\\Programs"), quickLaunch}) {
            fs::remove_all(profile / folder);
            fs::create_directories(profile / folder);
        }
    }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(Shortcuts, DesktopAndQuickLaunchLinksStartTheProgramWithRun) {
    const fs::path desktop = profile / L"Desktop\\Clean Now.lnk";
    EXPECT_EQ(CurrentProfileFolder(module.Shortcuts()), Narrow(profile.wstring()) + "\\");

    // Made twice over: replaced, not duplicated, and never left in the programs folder.
    for (int time = 0; time < 2; ++time) {
        CreateDesktopShortcut(module.Shortcuts(), "", "Clean Now", kTarget, "/run");
        EXPECT_EQ(LinkOf(desktop), kCleanNow);
        EXPECT_TRUE(fs::is_empty(profile / L"Start Menu\\Programs"));
    }
    CreateQuickLaunchShortcut(module.Shortcuts(), "", "", kTarget, "/run");
    EXPECT_EQ(LinkOf(profile / quickLaunch / L"Clean Now.lnk"), kCleanNow);
    EXPECT_TRUE(fs::is_empty(profile / L"Start Menu\\Programs"));
    EXPECT_EQ(FindDesktopShortcut(module.Shortcuts(), "Clean Now"), Narrow(desktop.wstring()));

    DeleteDesktopShortcut(module.Shortcuts(), "Clean Now");
    EXPECT_FALSE(fs::exists(desktop));
    DeleteDesktopShortcut(module.Shortcuts(), "Clean Now");  // nothing left to delete is no error
}

TEST_F(Shortcuts, AMissingProgramsFolderIsReportedAndNothingBreaks) {
    fs::remove_all(profile / L"Start Menu");
    // The message box this process shows is read and dismissed.
    std::vector<std::wstring> texts;
    std::thread dismisser([&] {
        if (HWND box = wintest::WaitForWindow(GetCurrentProcessId(), L"Kestrum", 20000)) {
            texts = wintest::ChildTexts(box);
            wintest::Press(wintest::FindButton(box, L"OK"));
        }
    });
    CreateDesktopShortcut(module.Shortcuts(), "", "Clean Now", kTarget, "/run");
    dismisser.join();
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        L"Unable to create shortcut for C:\\Program Files\\Kestrum\\Kestrum.exe."),
              texts.end());
    EXPECT_FALSE(fs::exists(profile / L"Desktop\\Clean Now.lnk"));

    CreateQuickLaunchShortcut(module.Shortcuts(), "", "", kTarget, "/run");  // silently nothing
    EXPECT_FALSE(fs::exists(profile / quickLaunch / L"Clean Now.lnk"));
}

}  // namespace
}  // namespace kestrum
