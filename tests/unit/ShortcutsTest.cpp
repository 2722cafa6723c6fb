#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "shortcuts/ShortcutMaintenance.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

const std::string kTarget = "C:\\Program Files\\Kestrum\\Kestrum.exe";
const std::string kProfiles = "C:\\Documents and Settings\\";
const std::string kAliceDesktop = kProfiles + "alice\\Desktop\\Clean Now.lnk";
const std::string kAlicePrograms = kProfiles + "alice\\Start Menu\\Programs\\";
const std::string kAliceQuickLaunch =
    kProfiles + "alice\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Clean Now.lnk";

class ShortcutsTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    ShortcutContext shortcuts = module.Shortcuts();

    void SetUp() override {
        fake.system.userName = "alice";
        fake.system.windowsDirectory = "C:\\WINDOWS";
        module.Startup.IsWindowsNT = true;
        for (const char* account : {"alice", "Administrator", "All Users", "Default User"}) {
            fake.files.AddFolder(kProfiles + account + "\\Desktop");
        }
        fake.files.AddFolder(kAlicePrograms);
        fake.files.AddFolder(kAliceQuickLaunch.substr(0, kAliceQuickLaunch.rfind('\\')));
    }
    std::string Desktop(const std::string& account) { return kProfiles + account + "\\Desktop\\Clean Now.lnk"; }
};

TEST_F(ShortcutsTest, NtLayoutFollowsTheWindowsDriveAndTheUser) {
    EXPECT_EQ(QueryWindowsFolder(shortcuts), "C:\\WINDOWS");
    EXPECT_EQ(CurrentProfileFolder(shortcuts), kProfiles + "alice\\");
    EXPECT_EQ(AllUsersProfileFolder(shortcuts), kProfiles + "All Users\\");
    EXPECT_EQ(QuickLaunchShortcutPath(shortcuts, "Clean Now"), kAliceQuickLaunch);
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), "C:\\WINDOWS\\Desktop\\Clean Now.lnk")
        << "the fall-back when none exists";

    CreateDesktopShortcut(shortcuts, "ignored", "Clean Now", kTarget, "/run");
    CreateQuickLaunchShortcut(shortcuts, "ignored", "", kTarget, "/run");
    EXPECT_EQ(fake.shell.links, (std::vector<std::string>{kAlicePrograms + "Clean Now.lnk|" + kTarget + "|/run",
                                                          kAlicePrograms + ".lnk|" + kTarget + "|/run"}));
    EXPECT_EQ(fake.files.Bytes(kAliceDesktop), kTarget + "|/run");
    EXPECT_EQ(fake.files.Bytes(kAliceQuickLaunch), kTarget + "|/run");
    EXPECT_FALSE(fake.files.Exists(kAlicePrograms + "Clean Now.lnk"));
    EXPECT_FALSE(fake.files.Exists(kAlicePrograms + ".lnk"));
    EXPECT_TRUE(fake.ui.messages.empty());
}

TEST_F(ShortcutsTest, Windows98KeepsEverythingInTheWindowsFolder) {
    module.Startup.IsWindowsNT = false;
    fake.system.windowsDirectory = "C:\\WINDOWS\\";
    fake.files.AddFolder("C:\\WINDOWS\\Start Menu\\Programs");
    fake.files.AddFolder("C:\\WINDOWS\\Desktop");
    fake.files.AddFolder("C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch");
    fake.files.AddFile(Desktop("Administrator"), "not looked at on 98");
    EXPECT_EQ(CurrentProfileFolder(shortcuts), "C:\\WINDOWS\\");
    EXPECT_EQ(AllUsersProfileFolder(shortcuts), "C:\\WINDOWS\\");
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), "C:\\WINDOWS\\Desktop\\Clean Now.lnk");

    CreateDesktopShortcut(shortcuts, "", "Clean Now", kTarget, "/run");
    CreateQuickLaunchShortcut(shortcuts, "", "", kTarget, "/run");
    EXPECT_TRUE(fake.files.Exists("C:\\WINDOWS\\Desktop\\Clean Now.lnk"));
    EXPECT_TRUE(fake.files.Exists(
        "C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Clean Now.lnk"));
    EXPECT_TRUE(fake.files.Exists(Desktop("Administrator")));
}

TEST_F(ShortcutsTest, TheDesktopSearchBeginsWithTheAdministrator) {
    fake.files.AddFile(Desktop("alice"), "own");
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), Desktop("alice"));
    fake.files.AddFile(Desktop("Default User"), "default");
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), Desktop("Default User"));
    fake.files.AddFile(Desktop("All Users"), "all");
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), Desktop("All Users"));
    fake.files.AddFile(Desktop("Administrator"), "admin");
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), Desktop("Administrator"));

    DeleteDesktopShortcut(shortcuts, "Clean Now");
    EXPECT_FALSE(fake.files.Exists(Desktop("Administrator")));
    EXPECT_TRUE(fake.files.Exists(Desktop("alice")));
}

TEST_F(ShortcutsTest, RecreatingReplacesTheUsersOwnShortcut) {
    fake.files.AddFile(kAliceDesktop, "old link");
    CreateDesktopShortcut(shortcuts, "", "Clean Now", kTarget, "/run");
    EXPECT_EQ(fake.files.Bytes(kAliceDesktop), kTarget + "|/run");

    // With the Administrator's found first, the user's own blocks the move: the new link waits
    // in the Programs folder and nothing else happens.
    fake.files.AddFile(Desktop("Administrator"), "admin");
    CreateDesktopShortcut(shortcuts, "", "Clean Now", "D:\\New\\Kestrum.exe", "/run");
    EXPECT_FALSE(fake.files.Exists(Desktop("Administrator")));
    EXPECT_EQ(fake.files.Bytes(kAliceDesktop), kTarget + "|/run");
    EXPECT_EQ(fake.files.Bytes(kAlicePrograms + "Clean Now.lnk"), "D:\\New\\Kestrum.exe|/run");
}

TEST_F(ShortcutsTest, ALinkThatCannotBeMadeIsReportedForTheDesktopOnly) {
    fake.shell.linksFail = true;
    CreateQuickLaunchShortcut(shortcuts, "", "", kTarget, "/run");
    EXPECT_TRUE(fake.ui.messages.empty());
    fake.files.AddFile(kAliceDesktop, "kept");
    CreateDesktopShortcut(shortcuts, "", "Clean Now", kTarget, "/run");
    ASSERT_EQ(fake.ui.messages.size(), 1u);
    EXPECT_EQ(fake.ui.messages[0].text, "Unable to create shortcut for " + kTarget + ".");
    EXPECT_EQ(fake.ui.messages[0].title, "Kestrum");
    EXPECT_EQ(fake.ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(fake.ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(fake.files.Bytes(kAliceDesktop), "kept") << "nothing is deleted after a failure";
}

TEST_F(ShortcutsTest, WithoutAWindowsFolderNothingIsTouched) {
    fake.system.windowsDirectory.clear();
    EXPECT_EQ(CurrentProfileFolder(shortcuts), "");
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), "");
    DeleteDesktopShortcut(shortcuts, "Clean Now");
    CreateQuickLaunchShortcut(shortcuts, "", "", kTarget, "/run");
    EXPECT_TRUE(fake.shell.links.empty());
    EXPECT_TRUE(fake.files.touched.empty()) << "no relative path is ever deleted";

    fake.system.windowsDirectory = "C:\\WINDOWS";
    fake.system.userName.clear();
    EXPECT_EQ(CurrentProfileFolder(shortcuts), "") << "no user, no profile of the user's own";
    EXPECT_EQ(AllUsersProfileFolder(shortcuts), kProfiles + "All Users\\");
}

}  // namespace
}  // namespace kestrum
