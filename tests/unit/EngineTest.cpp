#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>

#include "common/Text.h"
#include "engine/Banner.h"
#include "engine/Categories.h"
#include "engine/Removal.h"
#include "engine/RunDriver.h"
#include "engine/WipePattern.h"
#include "fakes/FakePlatform.h"
#include "shortcuts/ShortcutMaintenance.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

using Paths = std::vector<std::string>;

// Every folder listed and file deleted on NT, in order; `user` is the own profile, empty for the
// administrator.
Paths NtPaths(const std::string& user, const std::string& temp, bool prefetch) {
    const std::string w = "c:\\windows\\";
    const std::string sys = w + "system32\\config\\systemprofile\\";
    const std::string ls = "local settings\\";
    const std::string admin = "c:\\documents and settings\\administrator\\";
    const std::string def = "c:\\documents and settings\\default user\\";
    const std::string tif = "temporary internet files";
    const std::string ie5 = tif + "\\content.ie5";
    const std::string ud = "application data\\microsoft\\internet explorer\\userdata";
    Paths p;
    const auto add = [&p](Paths profiles, const Paths& tails) {
        std::erase(profiles, "");  // a profile the run has not got
        for (const std::string& profile : profiles)
            for (const std::string& tail : tails)
                p.push_back(profile + tail);
    };
    add({w}, {ie5, ud, "history"});
    add({admin, def}, {ls + ie5, ud, ls + ud, ls + "history"});
    add({sys}, {"userdata", ls + "history", ls + ie5});
    add({user}, {ls + ie5, ud, ls + ud, ls + "history", "userdata"});
    add({w, admin, def, sys, user}, {"cookies"});
    add({w}, {"recent"});
    add({admin, def, user}, {"recent", "application data\\microsoft\\office\\recent",
                             "application data\\microsoft\\media player",
                             "application data\\real\\realone player\\history"});
    add({temp, w + "temp", w + tif, "c:\\windows"}, {""});
    add({admin, def, sys, user}, {ls + "temp", ls + tif});
    add({w}, {"system32\\dllcache", "win386.swp"});
    add({prefetch ? w : ""}, {"prefetch"});
    return p;
}

class CategoriesTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    fakes::FakeFileSystem& fs = fake.files;

    void Family(bool nt, std::int32_t build, const std::string& user) {
        module.Startup.IsWindowsNT = nt;
        module.Startup.WindowsBuild = build;
        fake.system.userName = user;
        ComputeLocations(module.Context);
    }
    void RunAllCategories() {
        fs.touched.clear();
        fake.shell.started.clear();
        for (auto* step :
             {&CleanBrowserHistory, &CleanCookies, &CleanRecentFiles, &CleanTemporaryFiles,
              &CleanCache, &DeleteSelectedFiles, &EmptyRecycleBin, &FlushDnsCache, &CleanPrefetch})
            step(module.Context);
    }
};

// Every step, so each family's layout, in order; a swap file in use asks for a reboot.
TEST_F(CategoriesTest, EachFamilyTouchesEveryProfileInOrder) {
    fs.AddFile("C:\\WINDOWS\\win386.swp", "swap");
    fs.Lock("C:\\WINDOWS\\win386.swp");
    const std::string alice = "c:\\documents and settings\\alice\\";
    const std::string w = "c:\\windows\\";
    const std::string aliceTemp = "C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp\\";
    const std::string shortTemp = "c:\\docume~1\\alice\\locals~1\\temp";
    const struct {
        bool nt;
        std::int32_t build;
        const char* user;
        std::string temp;
        Paths expected;
    } cases[] = {
        {true, 2600, "Alice", aliceTemp, NtPaths(alice, shortTemp, true)},
        {true, 2195, "Alice", aliceTemp, NtPaths(alice, shortTemp, false)},
        {true, 2600, "ADMINISTRATOR", "C:\\DOCUME~1\\ADMINI~1\\LOCALS~1\\Temp\\",
         NtPaths("", "c:\\docume~1\\admini~1\\locals~1\\temp", true)},  // its folders once
        // The temporary folder is the Windows one here, so it comes first as itself.
        {false,
         2222,
         "Alice",
         "C:\\WINDOWS\\TEMP\\",
         {w + "temporary internet files\\content.ie5",
          w + "application data\\microsoft\\internet explorer\\userdata", w + "history",
          w + "cookies", w + "recent", w + "temp", w + "temp", w + "temporary internet files",
          "c:\\windows", w + "system32\\dllcache", w + "win386.swp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.user + std::to_string(c.build));
        fake.system.tempDirectory = c.temp;
        Family(c.nt, c.build, c.user);
        RunAllCategories();
        EXPECT_EQ(fs.touched, c.expected);
        EXPECT_EQ(fake.shell.started,
                  c.nt ? Paths{"C:\\WINDOWS\\system32\\ipconfig.exe|ipconfig /flushdns"} : Paths{});
    }
    EXPECT_EQ(fake.shell.recycleBinFlags, (std::vector<std::uint32_t>(4, 7u)));
    EXPECT_TRUE(module.Run.RebootAdvised);
    // A location the platform cannot give (longer than the buffer) is skipped, never taken
    // relative.
    fake.system.windowsDirectory = std::string(70, 'w');
    Family(true, 2600, "");
    RunAllCategories();
    EXPECT_TRUE(std::all_of(fs.touched.begin(), fs.touched.end(),
                            [](auto& p) { return p.rfind("c:\\", 0) == 0; }));
    EXPECT_EQ(fake.shell.started.size(), 1u);
}

TEST_F(CategoriesTest, TemporaryFolderThatHoldsTheProgramIsLeftAlone) {
    Family(true, 2600, "Alice");
    const std::string list = "C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp\\Kestrum.lst";
    fs.AddFile(list, "c:\\x\\\n");
    fs.AddFile("C:\\WINDOWS\\temp\\old.log", "x");
    fs.AddFolderLink("C:\\short", "C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp");
    // The same folder in another case, or through another path, is the same folder.
    for (const char* current : {"C:\\Docume~1\\ALICE\\locals~1\\temp", "C:\\short"}) {
        ASSERT_TRUE(fs.ChangeDirectory(current));
        CleanTemporaryFiles(module.Context);
        EXPECT_TRUE(fs.Exists(list)) << current;
    }
    EXPECT_FALSE(fs.Exists("C:\\WINDOWS\\temp\\old.log"));
}

TEST_F(CategoriesTest, SelectedEntriesByKind) {
    Family(true, 2600, "Alice");
    for (const char* name :
         {"old\\a.txt", "report 1.doc", "report 2.doc", "summary.doc", "single.txt", "other.txt"})
        fs.AddFile(std::string("C:\\docs\\") + name, "x");
    fs.AddFile("C:\\Program Files\\Kestrum\\single.txt", "x");
    ASSERT_TRUE(fs.ChangeDirectory("C:\\Program Files\\Kestrum"));
    module.Options.SelectedFiles = {"C:\\docs\\summary.doc",
                                    "",
                                    "single.txt",
                                    "\\docs\\other.txt",
                                    "C:\\docs\\old\\",
                                    "c:\\docs\\report*.doc",
                                    "C:\\docs\\single.txt",
                                    "c:\\docs\\..\\",
                                    "C:\\docs\\summary.doc"};
    module.Options.SelectedFileCount = 7;  // index 0 is no entry, and the last is beyond the count
    DeleteSelectedFiles(module.Context);
    for (const char* gone : {"old", "report 1.doc", "report 2.doc", "single.txt"})
        EXPECT_FALSE(fs.Exists(std::string("C:\\docs\\") + gone)) << gone;
    // Kept: neither a match nor counted, not a full path, no folder at all.
    for (const char* kept :
         {"C:\\docs\\summary.doc", "C:\\docs\\other.txt", "C:\\Program Files\\Kestrum\\single.txt"})
        EXPECT_TRUE(fs.Exists(kept)) << kept;
}

// Random trees and list entries: nothing the entry does not describe goes, nothing behind a link.
TEST(SelectedFilesProperty, NothingOutsideTheEntryIsRemoved) {
    std::mt19937 rng(20261206);
    const char* names[] = {"a.tmp", "b.TMP", "ab.tmp", "c.doc"};
    const char* tails[] = {"\\", "\\*.tmp", "\\a.tmp", "\\.."};  // folder, pattern, file, no file
    for (int round = 0; round < 300; ++round) {
        fakes::FakePlatform fake;
        KestrumModule module(fake.services());
        module.Run.Flags.WipeFiles = rng() % 4 == 0;
        Paths folders{"C:\\r"};
        fake.files.AddFolder("C:\\r");
        for (int i = 0; i < 30; ++i) {
            const std::string path = folders[rng() % folders.size()] + "\\" + names[rng() % 4];
            const std::uint32_t flags = rng() % 3 == 0 ? attr::kHidden | attr::kReadOnly : 0;
            if (rng() % 3 == 0) {
                fake.files.AddFolder(path, flags);
                folders.push_back(path);
            } else {
                fake.files.AddFile(path, "x", flags);
            }
        }
        fake.files.AddFile("C:\\outside\\keep.tmp", "x");
        fake.files.AddFolderLink(folders[rng() % folders.size()] + "\\link", "C:\\outside");
        const std::size_t kind = rng() % 4;
        const std::string entry = folders[rng() % folders.size()] + tails[kind];
        module.Options.SelectedFiles = {"", rng() % 2 ? entry : ToLowerAscii(entry)};
        module.Options.SelectedFileCount = 1;
        const auto before = fake.files.AllPaths();
        DeleteSelectedFiles(module.Context);
        const std::string folder = ToLowerAscii(entry.substr(0, entry.rfind('\\') + 1));
        for (const std::string& path : before) {
            const bool inFolder = path.rfind(folder, 0) == 0;
            const bool described =
                (kind == 0 && (inFolder || path + "\\" == folder)) ||
                (kind == 2 && path == folder + "a.tmp") ||
                (kind == 1 && inFolder && path.find('\\', folder.size()) == std::string::npos &&
                 EndsWith(path, ".tmp"));
            EXPECT_TRUE(described || fake.files.Exists(path))
                << round << ": " << entry << " " << path;
        }
        EXPECT_EQ(fake.files.Bytes("C:\\outside\\keep.tmp"), "x");
    }
}

TEST_F(CategoriesTest, WipeOverwritesThreeTimesInBoundedBlocksThenRenamesAndDeletes) {
    const std::size_t n = 5u << 20;  // more than two blocks
    fs.AddFile("C:\\data\\report.txt", std::string(n, 'r'), attr::kReadOnly | attr::kHidden);
    fs.AddFile("C:\\data\\other.txt", "keep");
    module.Run.Flags.WipeFiles = true;
    // The first pass is the whole first-stage sequence XORed with the whole second-stage one.
    RandomSource reference = module.Run.Random;
    std::string expected(n, '\0');
    auto* bytes = reinterpret_cast<unsigned char*>(expected.data());
    RandomCharacters(reference, bytes, n);
    ScrambleCharacters(reference, bytes, n);

    const std::uint64_t start = fake.clock.NowMilliseconds();
    DeleteOneFile(module.Context, "C:\\data\\report.txt");
    ASSERT_EQ(fs.flushedPasses.size(), 3u);
    EXPECT_GT(std::set<char>(expected.begin(), expected.end()).size(), 200u)
        << "pass 1 is no constant";
    EXPECT_TRUE(fs.flushedPasses[0].second == expected &&
                fs.flushedPasses[1].second == std::string(n, '\x55') &&
                fs.flushedPasses[2].second == std::string(n, '\xAA'));
    EXPECT_LE(fs.largestWrite, 2u << 20);
    EXPECT_GE(fake.clock.NowMilliseconds() - start, 1000u);
    EXPECT_EQ(fs.AllPaths(), (Paths{"c:\\", "c:\\data", "c:\\data\\other.txt", "c:\\windows",
                                    "c:\\windows\\system32"}));
    EXPECT_FALSE(module.Run.RebootAdvised);
    // Names of one letter can only be "a" to "y": all exist, so every rename must fail.
    for (char c = 'a'; c <= 'y'; ++c)
        fs.AddFile(std::string("C:\\f\\") + c, std::string(1, c));
    DeleteOneFile(module.Context, "C:\\f\\k");
    for (char c = 'a'; c <= 'y'; ++c)  // wiped in place
        EXPECT_EQ(fs.Bytes(std::string("C:\\f\\") + c), c == 'k' ? "\xAA" : std::string(1, c));
    EXPECT_TRUE(module.Run.RebootAdvised);
}

TEST(WipeBytes, AnyStretchMatchesTheWholeSequence) {
    const std::size_t n = 70000;
    RandomSource first;
    first.Seed(12345);
    RandomSource second = first;
    second.Discard(n);
    RandomSource reference = first;
    std::vector<unsigned char> whole(n);
    RandomCharacters(reference, whole.data(), n);
    ScrambleCharacters(reference, whole.data(), n);
    const struct {
        std::size_t index, count;
    } stretches[] = {{0, 1}, {0, n}, {1, 63}, {65, 4099}, {n - 7, 7}, {31, 0}};
    for (const auto& stretch : stretches) {
        std::vector<unsigned char> part(stretch.count + 1, 0xEE);
        FirstPassBytes(first, second, stretch.index, part.data(), stretch.count);
        EXPECT_TRUE(std::equal(part.begin(), part.end() - 1, whole.begin() + stretch.index))
            << stretch.index;
        EXPECT_EQ(part.back(), 0xEE) << "wrote past the stretch at " << stretch.index;
    }
}

TEST(PatternMatch, WholeCaseSensitiveNamesWithStarAndQuestionMark) {
    const struct {
        const char *name, *pattern;
        bool matches;
    } cases[] = {{"a.tmp", "*.tmp", true},      {"A.TMP", "*.tmp", false},
                 {"a.tmp2", "*.tmp", false},    {"x", "*.*", true},
                 {"a.b.c", "*.*.*", true},      {"ab.doc", "a*b.doc", true},
                 {"acb.dot", "a*b.doc", false}, {"x1.log", "x?.log", true},
                 {"x12.log", "x?.log", false}};
    for (const auto& c : cases)
        EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

class PurgeTest : public CategoriesTest {  // AllPaths lists lower case, sorted
  protected:
    void SetUp() override {
        fs.AddFile("C:\\temp\\a.txt", "x", attr::kHidden | attr::kReadOnly | attr::kSystem);
        fs.AddFile("C:\\temp\\sub\\deep\\b.txt", "x");
        fs.AddFolder("C:\\temp\\empty", attr::kSystem);
        fs.AddFile("C:\\keep.txt", "x");
    }
};

// Roots in any spelling and relative paths are refused, whatever the current folder.
TEST_F(PurgeTest, ContentsGoAndTheFolderStaysOrGoesButRootsNeverGo) {
    const Paths before = fs.AllPaths();
    for (const char* path :
         {"c:\\", "C:\\\\", "c:\\.", "c:\\temp\\..", "c:\\temp\\..\\..\\", "c:\\...", "c:/",
          "\\\\server\\share\\", "\\\\server\\share", "\\\\server", "\\\\?\\c:\\",
          "\\\\?\\UNC\\srv\\share\\", "temp", "\\temp", "c:temp", "", "c:\\ . \\"}) {
        EXPECT_TRUE(IsUnsafePurgePath(path)) << path;
        PurgeFolderContents(module.Context, path);
        PurgeFolder(module.Context, path);
    }
    for (const char* path : {"c:\\temp", "c:\\temp\\", "c:\\a\\..\\b", "\\\\server\\share\\x",
                             "d:\\x\\.\\y", "\\\\?\\c:\\x"})
        EXPECT_FALSE(IsUnsafePurgePath(path)) << path;
    DeleteOneFile(module.Context, "C:\\temp\\empty");
    EXPECT_EQ(fs.Attributes("C:\\temp\\empty"), attr::kDirectory | attr::kSystem)
        << "folders are no files";
    EXPECT_EQ(fs.AllPaths(), before);
    PurgeFolderContents(module.Context, "C:\\temp\\");
    EXPECT_EQ(fs.AllPaths(),
              (Paths{"c:\\", "c:\\keep.txt", "c:\\temp", "c:\\windows", "c:\\windows\\system32"}));
    fs.AddFile("C:\\temp\\again.txt", "x");
    PurgeFolder(module.Context, "C:\\temp\\");
    EXPECT_EQ(fs.AllPaths(),
              (Paths{"c:\\", "c:\\keep.txt", "c:\\windows", "c:\\windows\\system32"}));
}

TEST_F(PurgeTest, CacheIndexFoldersStayAndLockedIndexFilesAreOverwritten) {
    fs.AddFile("C:\\temp\\content.ie5\\ab12\\page.htm", "x");
    fs.AddFile("C:\\temp\\history.ie5\\index.dat", "history");
    fs.Lock("C:\\temp\\history.ie5\\index.dat");
    fs.AddFile("C:\\temp\\cookies\\index.dat", "cookies");
    fs.Lock("C:\\temp\\cookies\\index.dat");
    PurgeFolderContents(module.Context, "C:\\temp");
    EXPECT_TRUE(fs.Exists("C:\\temp\\content.ie5"));
    EXPECT_FALSE(fs.Exists("C:\\temp\\content.ie5\\ab12"));
    EXPECT_EQ(fs.Bytes("C:\\temp\\history.ie5\\index.dat"), std::string(7, '\x55'));
    EXPECT_EQ(fs.Bytes("C:\\temp\\cookies\\index.dat"), "cookies");
    EXPECT_TRUE(module.Run.RebootAdvised);
}

TEST_F(PurgeTest, LinksAreRemovedNeverEntered) {
    fs.AddFile("C:\\precious\\thesis.doc", "x");
    module.Run.Flags.WipeFiles = true;
    // Found inside the folder, or named as the folder to purge, a link goes and its target stays.
    void (*const purges[])(RunContext&, const std::string&) = {&PurgeFolderContents,
                                                               &PurgeFolderContents, &PurgeFolder};
    const char* named[] = {"C:\\temp", "C:\\temp\\junction\\", "C:\\temp\\junction\\"};
    for (std::size_t i = 0; i < 3; ++i) {
        fs.AddFolderLink("C:\\temp\\junction", "C:\\precious");
        purges[i](module.Context, named[i]);
        EXPECT_EQ(fs.Exists("C:\\temp\\junction"), i == 1) << named[i];
        EXPECT_EQ(fs.Bytes("C:\\precious\\thesis.doc"), "x");
    }
    // A link to a file goes unwritten: a wipe would write through it into its target.
    fs.AddFile("C:\\temp\\file link", "target's", attr::kReparsePoint);
    fs.flushedPasses.clear();
    PurgeFolderContents(module.Context, "C:\\temp");
    EXPECT_FALSE(fs.Exists("C:\\temp\\file link"));
    EXPECT_TRUE(fs.flushedPasses.empty());
}

// The file calls take each path as the listing spelt it, no file's attributes are asked for again
// or reset when nothing in them stands in the way, and only a file that may have survived its
// removal is looked up.
TEST_F(PurgeTest, FileCallsUseTheListedSpellingAndAttributes) {
    const std::pair<std::string, std::uint32_t> files[] = {
        {"C:\\Cache\\Sub\\Page.HTM", attr::kArchive},
        {"C:\\Cache\\Plain.txt", attr::kArchive},
        {"C:\\Cache\\Hidden.DAT", attr::kHidden | attr::kArchive},  // held open below
        {"C:\\Cache\\Locked.Log", attr::kReadOnly}};
    const std::function<void()> removals[] = {
        [&] { PurgeFolderContents(module.Context, "C:\\Cache"); },
        [&] { DeleteMatchingFiles(module.Context, "C:\\Cache\\", "*.*"); }};
    for (const auto& remove : removals) {
        fs.AddFolder("C:\\Cache\\Sub");  // folders added on the way are named in lower case
        for (const auto& [path, attributes] : files)
            fs.AddFile(path, "x", attributes);
        fs.Lock(files[2].first);
        module.Run.RebootAdvised = false;
        fs.calls.clear();
        remove();
        std::set<std::string> reset, lookedUp;
        for (const auto& [call, path] : fs.calls) {
            EXPECT_TRUE(std::any_of(std::begin(files), std::end(files),
                                    [&](const auto& f) { return f.first.rfind(path, 0) == 0; }))
                << call << " " << path << ": not the spelling on disk";
            EXPECT_FALSE(call == "Attributes" && path != "C:\\Cache") << path;
            if (call == "SetAttributes")
                reset.insert(path);
            if (call == "FindsNormalFile")
                lookedUp.insert(path);
        }
        EXPECT_EQ(reset, (std::set<std::string>{files[2].first, files[3].first}));
        EXPECT_EQ(lookedUp, std::set<std::string>{files[2].first});
        EXPECT_FALSE(fs.Exists(files[1].first) || fs.Exists(files[3].first));
        EXPECT_TRUE(fs.Exists(files[2].first) && module.Run.RebootAdvised)
            << "a hidden file held open is still found once reset";
    }
}

// A purge, however deep, and a category between its folders end after the removal in hand.
TEST_F(PurgeTest, CancelStopsBeforeAnyFurtherFolderIsRemoved) {
    fs.AddFile("C:\\temp\\sub\\deep\\c.txt", "x");
    Banner banner(module.Context);
    banner.Show();
    fs.onRemoved = [&](const std::string& path) {
        const bool cancel =
            path == "c:\\temp\\sub\\deep\\b.txt" || path.find("cookies") != std::string::npos;
        if (cancel) {
            fake.ui.Schedule(0, fakes::ClickOn{"Banner", "cancelButton"});
        }
        fake.clock.Advance(1000);  // long enough for the next check to look for input
    };
    PurgeFolderContents(module.Context, "C:\\temp");
    EXPECT_FALSE(fs.Exists("C:\\temp\\empty")) << "finished before the cancel";
    EXPECT_TRUE(fs.Exists("C:\\temp\\sub\\deep\\c.txt")) << "entries after the cancel stay";

    Family(true, 2600, "Alice");
    module.Run.CancelRequested = false;
    fs.AddFile("C:\\WINDOWS\\cookies\\a.txt", "x");
    fs.AddFile("C:\\documents and settings\\administrator\\cookies\\b.txt", "x");
    CleanCookies(module.Context);
    EXPECT_FALSE(fs.Exists("C:\\WINDOWS\\cookies\\a.txt"));
    EXPECT_TRUE(fs.Exists("C:\\documents and settings\\administrator\\cookies\\b.txt"));
}

const std::string kTarget = "C:\\Program Files\\Kestrum\\Kestrum.exe",
                  kLink = kTarget + "|/run";  // as the fake shell links
const std::string kProfiles = "C:\\Documents and Settings\\",
                  kPrograms = kProfiles + "alice\\Start Menu\\Programs\\";
const std::string kQuickLaunch =
    kProfiles +
    "alice\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Clean Now.lnk";

std::string Desktop(const std::string& account) {
    return kProfiles + account + "\\Desktop\\Clean Now.lnk";
}

class ShortcutsTest : public CategoriesTest {
  protected:
    ShortcutContext shortcuts = module.Shortcuts();
    void SetUp() override {
        fake.system.userName = "alice";
        module.Startup.IsWindowsNT = true;
        for (const char* account : {"alice", "Administrator", "All Users", "Default User"})
            fs.AddFolder(kProfiles + account + "\\Desktop");
        for (const std::string& folder :
             {kPrograms, kQuickLaunch.substr(0, kQuickLaunch.rfind('\\'))})
            fs.AddFolder(folder);
    }
};

TEST_F(ShortcutsTest, NtLinksAreMadeInProgramsAndReplaceTheFirstFound) {
    EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), "C:\\WINDOWS\\Desktop\\Clean Now.lnk")
        << "when none exists";
    fs.AddFile(Desktop("alice"), "old link");
    CreateDesktopShortcut(shortcuts, "ignored", "Clean Now", kTarget, "/run");
    CreateQuickLaunchShortcut(shortcuts, "ignored", "", kTarget, "/run");
    EXPECT_EQ(fs.Bytes(Desktop("alice")), kLink);
    EXPECT_EQ(fs.Bytes(kQuickLaunch), kLink);
    EXPECT_FALSE(fs.Exists(kPrograms + "Clean Now.lnk") || fs.Exists(kPrograms + ".lnk"));
    // The Administrator's goes first; the user's own then blocks the move, so the link waits.
    fs.AddFile(Desktop("Administrator"), "admin");
    CreateDesktopShortcut(shortcuts, "", "Clean Now", "D:\\New.exe", "/run");
    EXPECT_FALSE(fs.Exists(Desktop("Administrator")));
    EXPECT_EQ(fs.Bytes(Desktop("alice")), kLink);
    EXPECT_EQ(fs.Bytes(kPrograms + "Clean Now.lnk"), "D:\\New.exe|/run");
    // The search begins with the Administrator, then All Users, the Default User and the user.
    for (const char* account : {"alice", "Default User", "All Users", "Administrator"}) {
        fs.AddFile(Desktop(account), account);
        EXPECT_EQ(FindDesktopShortcut(shortcuts, "Clean Now"), Desktop(account));
    }
    // A link that cannot be made is reported for the desktop only, and then nothing is deleted.
    fake.shell.linksFail = true;
    CreateQuickLaunchShortcut(shortcuts, "", "", kTarget, "/run");
    CreateDesktopShortcut(shortcuts, "", "Clean Now", kTarget, "/run");
    EXPECT_EQ(fake.ui.messages.size(), 1u);
    EXPECT_TRUE(fs.Exists(Desktop("Administrator")));
}

TEST_F(ShortcutsTest, Windows98KeepsEverythingInTheWindowsFolder) {
    module.Startup.IsWindowsNT = false;
    fake.system.windowsDirectory = "C:\\WINDOWS\\";
    const std::string quickLaunch =
        "C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch";
    for (const char* folder :
         {"C:\\WINDOWS\\Start Menu\\Programs", "C:\\WINDOWS\\Desktop", quickLaunch.c_str()})
        fs.AddFolder(folder);
    fs.AddFile(Desktop("Administrator"), "not looked at on 98");
    EXPECT_EQ(AllUsersProfileFolder(shortcuts), "C:\\WINDOWS\\");
    CreateDesktopShortcut(shortcuts, "", "Clean Now", kTarget, "/run");
    CreateQuickLaunchShortcut(shortcuts, "", "", kTarget, "/run");
    EXPECT_EQ(fs.Bytes("C:\\WINDOWS\\Desktop\\Clean Now.lnk"), kLink);
    EXPECT_EQ(fs.Bytes(quickLaunch + "\\Clean Now.lnk"), kLink);
    EXPECT_TRUE(fs.Exists(Desktop("Administrator")));
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
