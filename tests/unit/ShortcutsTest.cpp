#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "shortcuts/ShortcutMaintenance.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

const std::string kTarget = "C:\\Program Files\\Kestrum\\Kestrum.exe";
const std::string kLink = kTarget + "|/run";  // what the fake shell writes into a link
const std::string kProfiles = "C:\\Documents and Settings\\";
const std::string kPrograms = kProfiles + "alice\\Start Menu\\Programs\\";
const std::string kQuickLaunch = kProfiles + "alice\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Clean Now.lnk";

std::string Desktop(const std::string& account) { return kProfiles + account + "\\Desktop\\Clean Now.lnk"; }

class ShortcutsTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    ShortcutContext shortcuts = module.Shortcuts();
    fakes::FakeFileSystem& fs = fake.files;

    void SetUp() override {
        fake.system.userName = "alice";
        module.Startup.IsWindowsNT = true;
        for (const char* account : {"alice", "Administrator", "All Users", "Default User"}) {
            fs.AddFolder(kProfiles + account + "\\Desktop");
        }
        fs.AddFolder(kPrograms);
        fs.AddFolder(kQuickLaunch.substr(0, kQuickLaunch.rfind('\\')));
    }
};

TEST_F(ShortcutsTest, NtLinksAreMadeInProgramsAndReplaceTheFirstFound) {
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), "C:\\WINDOWS\\Desktop\\Clean Now.lnk")
        << "the fall-back when none exists";
    fs.AddFile(Desktop("alice"), "old link");
    CreateDesktopShortcut(shortcuts, "ignored", "Clean Now", kTarget, "/run");
    CreateQuickLaunchShortcut(shortcuts, "ignored", "", kTarget, "/run");
    EXPECT_EQ(fake.shell.links, (std::vector<std::string>{kPrograms + "Clean Now.lnk|" + kLink,
                                                          kPrograms + ".lnk|" + kLink}));
    EXPECT_EQ(fs.Bytes(Desktop("alice")), kLink);
    EXPECT_EQ(fs.Bytes(kQuickLaunch), kLink);
    EXPECT_FALSE(fs.Exists(kPrograms + "Clean Now.lnk") || fs.Exists(kPrograms + ".lnk"));
    // With the Administrator's found first, the user's own blocks the move: the new link waits
    // in the Programs folder and nothing else happens.
    fs.AddFile(Desktop("Administrator"), "admin");
    CreateDesktopShortcut(shortcuts, "", "Clean Now", "D:\\New.exe", "/run");
    EXPECT_FALSE(fs.Exists(Desktop("Administrator")));
    EXPECT_EQ(fs.Bytes(Desktop("alice")), kLink);
    EXPECT_EQ(fs.Bytes(kPrograms + "Clean Now.lnk"), "D:\\New.exe|/run");
}

TEST_F(ShortcutsTest, Windows98KeepsEverythingInTheWindowsFolder) {
    module.Startup.IsWindowsNT = false;
    fake.system.windowsDirectory = "C:\\WINDOWS\\";
    const std::string quickLaunch = "C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch";
    for (const char* folder : {"C:\\WINDOWS\\Start Menu\\Programs", "C:\\WINDOWS\\Desktop", quickLaunch.c_str()}) {
        fs.AddFolder(folder);
    }
    fs.AddFile(Desktop("Administrator"), "not looked at on 98");
    EXPECT_EQ(AllUsersProfileFolder(shortcuts), "C:\\WINDOWS\\");
    CreateDesktopShortcut(shortcuts, "", "Clean Now", kTarget, "/run");
    CreateQuickLaunchShortcut(shortcuts, "", "", kTarget, "/run");
    EXPECT_EQ(fs.Bytes("C:\\WINDOWS\\Desktop\\Clean Now.lnk"), kLink);
    EXPECT_EQ(fs.Bytes(quickLaunch + "\\Clean Now.lnk"), kLink);
    EXPECT_TRUE(fs.Exists(Desktop("Administrator")));
}

TEST_F(ShortcutsTest, TheDesktopSearchBeginsWithTheAdministrator) {
    for (const char* account : {"alice", "Default User", "All Users", "Administrator"}) {
        fs.AddFile(Desktop(account), account);
        EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), Desktop(account));
    }
    DeleteDesktopShortcut(shortcuts, "Clean Now");
    EXPECT_FALSE(fs.Exists(Desktop("Administrator")));
    EXPECT_TRUE(fs.Exists(Desktop("alice")));
}

TEST_F(ShortcutsTest, ALinkThatCannotBeMadeIsReportedForTheDesktopOnly) {
    fake.shell.linksFail = true;
    CreateQuickLaunchShortcut(shortcuts, "", "", kTarget, "/run");
    EXPECT_TRUE(fake.ui.messages.empty());
    fs.AddFile(Desktop("alice"), "kept");
    CreateDesktopShortcut(shortcuts, "", "Clean Now", kTarget, "/run");
    ASSERT_EQ(fake.ui.messages.size(), 1u);
    EXPECT_EQ(fake.ui.messages[0].text, "Unable to create shortcut for " + kTarget + ".");
    EXPECT_EQ(fs.Bytes(Desktop("alice")), "kept") << "nothing is deleted after a failure";
}

TEST_F(ShortcutsTest, WithoutAWindowsFolderOrAUserNothingIsTouched) {
    fake.system.windowsDirectory = std::string(256, 'w');  // too long to be taken
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), "");
    DeleteDesktopShortcut(shortcuts, "Clean Now");
    CreateQuickLaunchShortcut(shortcuts, "", "", kTarget, "/run");
    EXPECT_TRUE(fake.shell.links.empty());
    EXPECT_TRUE(fs.touched.empty()) << "no relative path is ever deleted";
    fake.system.windowsDirectory = "C:\\WINDOWS";
    fake.system.userName.clear();
    EXPECT_EQ(CurrentProfileFolder(shortcuts), "") << "no user, no profile of the user's own";
    EXPECT_EQ(AllUsersProfileFolder(shortcuts), kProfiles + "All Users\\");
}

}  // namespace
}  // namespace kestrum
