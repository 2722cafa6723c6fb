// The "Clean Now" shortcuts made, read back and removed through the real shell of a sandbox
// prefix laid out like Windows XP.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <atomic>
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

struct LinkRead {
    std::wstring path, arguments, folder;
};

// What the shell itself reads from a link file.
std::optional<LinkRead> ReadLink(const fs::path& file) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return std::nullopt;
    }
    std::optional<LinkRead> read;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        if (SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
            wchar_t path[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {};
            link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
            link->GetArguments(arguments, MAX_PATH);
            link->GetWorkingDirectory(folder, MAX_PATH);
            read = LinkRead{path, arguments, folder};
        }
        persist->Release();
    }
    link->Release();
    return read;
}

class Shortcuts : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    win32::Win32SystemInfo system;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    win32::Win32UiToolkit ui{fake.application};
    std::unique_ptr<KestrumModule> module;
    fs::path profile;

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        Platform services = fake.services();
        Platform real{services.application, system, services.settings, files, services.clock, ui, shell,
                      services.registry, services.power};
        module = std::make_unique<KestrumModule>(real);
        module->Startup.IsWindowsNT = true;
        ASSERT_TRUE(fs::exists(kTarget)) << "the program is installed in the prefix";

        wchar_t user[256];
        DWORD size = 256;
        ASSERT_TRUE(GetUserNameW(user, &size));
        profile = fs::path(L"C:\\Documents and Settings") / user;
        fs::remove_all(profile / L"Desktop");
        fs::remove_all(profile / L"Start Menu");
        fs::remove_all(profile / L"Application Data\\Microsoft\\Internet Explorer\\Quick Launch");
        for (const wchar_t* folder : {L"Desktop", L"Start Menu\\Programs",
                                      L"Application Data\\Microsoft\\Internet Explorer\\Quick Launch"}) {
            fs::create_directories(profile / folder);
        }
    }
    void TearDown() override {
        module.reset();
        CoUninitialize();
    }

    void ExpectCleanNowLink(const fs::path& file) {
        const auto read = ReadLink(file);
        ASSERT_TRUE(read) << file.string();
        EXPECT_EQ(Narrow(read->path), kTarget);
        EXPECT_EQ(read->arguments, L"/run");
        EXPECT_EQ(Narrow(read->folder), "C:\\Program Files\\Kestrum");
    }
};

TEST_F(Shortcuts, DesktopAndQuickLaunchLinksStartTheProgramWithRun) {
    const fs::path desktop = profile / L"Desktop\\Clean Now.lnk";
    const fs::path quickLaunch =
        profile / L"Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Clean Now.lnk";
    EXPECT_EQ(CurrentProfileFolder(module->Shortcuts()), Narrow(profile.wstring()) + "\\");

    CreateDesktopShortcut(module->Shortcuts(), "", "Clean Now", kTarget, "/run");
    CreateQuickLaunchShortcut(module->Shortcuts(), "", "", kTarget, "/run");
    ExpectCleanNowLink(desktop);
    ExpectCleanNowLink(quickLaunch);
    EXPECT_TRUE(fs::is_empty(profile / L"Start Menu\\Programs")) << "both links were moved on";
    EXPECT_EQ(FindDesktopShortcut(module->Shortcuts(), "Clean Now"), Narrow(desktop.wstring()));
    EXPECT_EQ(QuickLaunchShortcutPath(module->Shortcuts(), "Clean Now"), Narrow(quickLaunch.wstring()));

    // Made again over an existing one: replaced, not duplicated.
    CreateDesktopShortcut(module->Shortcuts(), "", "Clean Now", kTarget, "/run");
    ExpectCleanNowLink(desktop);
    EXPECT_TRUE(fs::is_empty(profile / L"Start Menu\\Programs"));

    DeleteDesktopShortcut(module->Shortcuts(), "Clean Now");
    EXPECT_FALSE(fs::exists(desktop));
    DeleteDesktopShortcut(module->Shortcuts(), "Clean Now");  // nothing left to delete is no error
}

TEST_F(Shortcuts, AMissingProgramsFolderIsReportedAndNothingBreaks) {
    fs::remove_all(profile / L"Start Menu");
    const DWORD self = GetCurrentProcessId();
    std::atomic<bool> seen{false};
    std::thread dismisser([&] {
        const std::wstring text = L"Unable to create shortcut for C:\\Program Files\\Kestrum\\Kestrum.exe.";
        for (int i = 0; i < 400 && !seen; ++i) {
            for (HWND box : wintest::VisibleWindowsOf(self)) {
                const auto texts = wintest::ChildTexts(box);
                if (wintest::TextOf(box) == L"Kestrum" &&
                    std::find(texts.begin(), texts.end(), text) != texts.end()) {
                    seen = true;
                    wintest::Press(wintest::FindButton(box, L"OK"));
                }
            }
            Sleep(50);
        }
    });
    CreateDesktopShortcut(module->Shortcuts(), "", "Clean Now", kTarget, "/run");
    dismisser.join();
    EXPECT_TRUE(seen) << "the message box was shown and dismissed";
    EXPECT_FALSE(fs::exists(profile / L"Desktop\\Clean Now.lnk"));

    CreateQuickLaunchShortcut(module->Shortcuts(), "", "", kTarget, "/run");  // silently nothing
    EXPECT_FALSE(fs::exists(profile / L"Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Clean Now.lnk"));
}

}  // namespace
}  // namespace kestrum
