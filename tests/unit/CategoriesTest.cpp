#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "common/Text.h"
#include "engine/Banner.h"
#include "engine/Categories.h"
#include "engine/RunDriver.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

using Paths = std::vector<std::string>;

constexpr char kAdmin[] = "c:\\documents and settings\\administrator\\";
constexpr char kDefault[] = "c:\\documents and settings\\default user\\";
constexpr char kAlice[] = "c:\\documents and settings\\alice\\";
constexpr char kSystemProfile[] = "c:\\windows\\system32\\config\\systemprofile\\";

Paths Under(const std::string& base, std::initializer_list<const char*> tails) {
    Paths paths;
    for (const char* tail : tails) {
        paths.push_back(base + tail);
    }
    return paths;
}

Paths Join(std::initializer_list<Paths> parts) {
    Paths all;
    for (const Paths& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// What the file categories look at, in order, on Windows XP for a user who is not the
// administrator: every folder listed and every file deleted.
Paths XpUserPaths(bool withPrefetch) {
    const std::string admin = kAdmin, def = kDefault, alice = kAlice;
    const Paths history = Join({
        Under("c:\\windows\\", {"temporary internet files\\content.ie5",
                                "application data\\microsoft\\internet explorer\\userdata", "history"}),
        Under(admin, {"local settings\\temporary internet files\\content.ie5",
                      "application data\\microsoft\\internet explorer\\userdata",
                      "local settings\\application data\\microsoft\\internet explorer\\userdata",
                      "local settings\\history"}),
        Under(def, {"local settings\\temporary internet files\\content.ie5",
                    "application data\\microsoft\\internet explorer\\userdata",
                    "local settings\\application data\\microsoft\\internet explorer\\userdata",
                    "local settings\\history"}),
        Under(kSystemProfile, {"userdata", "local settings\\history",
                               "local settings\\temporary internet files\\content.ie5"}),
        Under(alice, {"local settings\\temporary internet files\\content.ie5",
                      "application data\\microsoft\\internet explorer\\userdata",
                      "local settings\\application data\\microsoft\\internet explorer\\userdata",
                      "local settings\\history", "userdata"}),
    });
    const Paths cookies{"c:\\windows\\cookies", admin + "cookies", def + "cookies",
                        std::string(kSystemProfile) + "cookies", alice + "cookies"};
    Paths recent{"c:\\windows\\recent"};
    for (const std::string& profile : {admin, def, alice}) {
        const Paths mine = Under(profile, {"recent", "application data\\microsoft\\office\\recent",
                                           "application data\\microsoft\\media player",
                                           "application data\\real\\realone player\\history"});
        recent.insert(recent.end(), mine.begin(), mine.end());
    }
    const Paths temporary = Join({
        {"c:\\docume~1\\alice\\locals~1\\temp", "c:\\windows\\temp",
         "c:\\windows\\temporary internet files", "c:\\windows"},
        Under(admin, {"local settings\\temp", "local settings\\temporary internet files"}),
        Under(def, {"local settings\\temp", "local settings\\temporary internet files"}),
        Under(kSystemProfile, {"local settings\\temp", "local settings\\temporary internet files"}),
        Under(alice, {"local settings\\temp", "local settings\\temporary internet files"}),
    });
    const Paths cache{"c:\\windows\\system32\\dllcache", "c:\\windows\\win386.swp"};
    Paths all = Join({history, cookies, recent, temporary, cache});
    if (withPrefetch) {
        all.push_back("c:\\windows\\prefetch");
    }
    return all;
}

Paths Without(const Paths& paths, const std::string& prefix) {
    Paths kept;
    for (const std::string& path : paths) {
        if (path.rfind(prefix, 0) != 0) {
            kept.push_back(path);
        }
    }
    return kept;
}

class CategoriesTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    fakes::FakeFileSystem& fs = fake.files;

    void Family(bool nt, std::int32_t build, const std::string& user) {
        module.Startup.IsWindowsNT = nt;
        module.Startup.WindowsBuild = build;
        fake.system.isNt = nt;
        fake.system.userName = user;
        if (!nt) {
            fake.system.tempDirectory = "C:\\WINDOWS\\TEMP\\";
        }
        ComputeLocations(module.Context);
    }

    void RunAllCategories() {
        CleanBrowserHistory(module.Context);
        CleanCookies(module.Context);
        CleanRecentFiles(module.Context);
        CleanTemporaryFiles(module.Context);
        CleanCache(module.Context);
        DeleteSelectedFiles(module.Context);
        EmptyRecycleBin(module.Context);
        FlushDnsCache(module.Context);
        CleanPrefetch(module.Context);
    }

    void SetList(std::initializer_list<const char*> entries) {
        module.Options.SelectedFiles = {std::string()};
        for (const char* entry : entries) {
            module.Options.SelectedFiles.emplace_back(entry);
        }
        module.Options.SelectedFileCount = static_cast<std::int16_t>(entries.size());
    }

    std::set<std::string> AllPaths() const {
        const auto all = fs.AllPaths();
        return {all.begin(), all.end()};
    }
};

TEST_F(CategoriesTest, WindowsXpAndWindows2000TouchEveryProfileInOrder) {
    for (const std::int32_t build : {2600, 2195}) {
        SCOPED_TRACE(build);
        fs.touched.clear();
        fake.shell.started.clear();
        Family(true, build, "Alice");
        RunAllCategories();
        EXPECT_EQ(fs.touched, XpUserPaths(build >= 2200)) << "prefetch from build 2200";
        EXPECT_EQ(fake.shell.started,
                  std::vector<std::string>{"C:\\WINDOWS\\system32\\ipconfig.exe|ipconfig /flushdns"});
    }
    EXPECT_EQ(fake.shell.recycleBinFlags, (std::vector<std::uint32_t>{7, 7}));
}

TEST_F(CategoriesTest, AdministratorFoldersAreCleanedOnce) {
    fake.system.tempDirectory = "C:\\DOCUME~1\\ADMINI~1\\LOCALS~1\\Temp\\";
    Family(true, 2600, "ADMINISTRATOR");
    RunAllCategories();
    Paths expected = Without(XpUserPaths(true), kAlice);
    std::replace(expected.begin(), expected.end(), std::string("c:\\docume~1\\alice\\locals~1\\temp"),
                 std::string("c:\\docume~1\\admini~1\\locals~1\\temp"));
    EXPECT_EQ(fs.touched, expected);
}

TEST_F(CategoriesTest, Windows98StaysInTheWindowsFoldersWithoutDnsOrPrefetch) {
    Family(false, 2222, "Alice");
    RunAllCategories();
    // The temporary folder is the Windows one here, so it comes first as itself.
    EXPECT_EQ(fs.touched, (Paths{"c:\\windows\\temporary internet files\\content.ie5",
                                 "c:\\windows\\application data\\microsoft\\internet explorer\\userdata",
                                 "c:\\windows\\history", "c:\\windows\\cookies", "c:\\windows\\recent",
                                 "c:\\windows\\temp", "c:\\windows\\temp",
                                 "c:\\windows\\temporary internet files", "c:\\windows",
                                 "c:\\windows\\system32\\dllcache", "c:\\windows\\win386.swp"}));
    EXPECT_TRUE(fake.shell.started.empty());
}

TEST_F(CategoriesTest, MissingLocationsAreSkippedNotTakenRelative) {
    fake.system.windowsDirectory = std::string(70, 'w');  // longer than the buffer
    fake.system.userName.clear();
    Family(true, 2600, "");
    RunAllCategories();
    for (const std::string& path : fs.touched) {
        EXPECT_EQ(path.rfind("c:\\", 0), 0u) << path;
    }
    EXPECT_TRUE(fake.shell.started.size() == 1u);
}

TEST_F(CategoriesTest, TemporaryFolderThatHoldsTheProgramIsLeftAlone) {
    Family(true, 2600, "Alice");
    fs.AddFile("C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp\\Kestrum.lst", "c:\\x\\\n");
    fs.AddFile("C:\\WINDOWS\\temp\\old.log", "x");
    ASSERT_TRUE(fs.ChangeDirectory("C:\\Docume~1\\ALICE\\locals~1\\temp"));
    CleanTemporaryFiles(module.Context);
    EXPECT_TRUE(fs.Exists("C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp\\Kestrum.lst"));
    EXPECT_FALSE(fs.Exists("C:\\WINDOWS\\temp\\old.log"));

    // Another spelling of the same folder is the same folder.
    fs.AddFolderLink("C:\\short", "C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp");
    ASSERT_TRUE(fs.ChangeDirectory("C:\\short"));
    CleanTemporaryFiles(module.Context);
    EXPECT_TRUE(fs.Exists("C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp\\Kestrum.lst"));
}

TEST_F(CategoriesTest, SwapFileInUseAdvisesAReboot) {
    Family(false, 2222, "Alice");
    fs.AddFile("C:\\WINDOWS\\win386.swp", "swap", attr::kArchive);
    fs.Lock("C:\\WINDOWS\\win386.swp", false);
    CleanCache(module.Context);
    EXPECT_TRUE(module.Run.RebootAdvised);

    // Hidden, it is not seen by the look-up, and no attribute is changed to make it go.
    module.Run.RebootAdvised = false;
    fs.SetAttributes("C:\\WINDOWS\\win386.swp", attr::kHidden);
    CleanCache(module.Context);
    EXPECT_FALSE(module.Run.RebootAdvised);
    EXPECT_EQ(fs.Attributes("C:\\WINDOWS\\win386.swp"), attr::kHidden);
}

TEST_F(CategoriesTest, SelectedEntriesByKind) {
    Family(true, 2600, "Alice");
    fs.AddFile("C:\\docs\\old\\a.txt", "x");
    fs.AddFile("C:\\docs\\report 1.doc", "x");
    fs.AddFile("C:\\docs\\report 2.doc", "x");
    fs.AddFile("C:\\docs\\summary.doc", "x");
    fs.AddFile("C:\\docs\\single.txt", "x");
    fs.AddFile("C:\\docs\\other.txt", "x");
    fs.AddFile("C:\\Program Files\\Kestrum\\single.txt", "x");
    ASSERT_TRUE(fs.ChangeDirectory("C:\\Program Files\\Kestrum"));
    SetList({"", "single.txt", "\\docs\\other.txt", "C:\\docs\\old\\", "c:\\docs\\report*.doc",
             "C:\\docs\\single.txt", "c:\\docs\\..\\", "C:\\docs\\summary.doc"});
    --module.Options.SelectedFileCount;  // the last entry is beyond the count
    DeleteSelectedFiles(module.Context);
    EXPECT_FALSE(fs.Exists("C:\\docs\\old"));
    EXPECT_FALSE(fs.Exists("C:\\docs\\report 1.doc"));
    EXPECT_FALSE(fs.Exists("C:\\docs\\report 2.doc"));
    EXPECT_FALSE(fs.Exists("C:\\docs\\single.txt"));
    EXPECT_TRUE(fs.Exists("C:\\docs\\summary.doc")) << "neither a match nor counted";
    EXPECT_TRUE(fs.Exists("C:\\docs\\other.txt")) << "not a full path";
    EXPECT_TRUE(fs.Exists("C:\\Program Files\\Kestrum\\single.txt")) << "no folder at all";
    EXPECT_TRUE(fs.Exists("C:\\docs"));
}

TEST_F(CategoriesTest, CancelEndsTheCategoryAfterTheActionInHand) {
    Family(true, 2600, "Alice");
    Banner banner(module.Context);
    banner.Show();
    fs.AddFile("C:\\WINDOWS\\cookies\\a.txt", "x");
    fs.AddFile("C:\\documents and settings\\administrator\\cookies\\b.txt", "x");
    fs.onRemoved = [&](const std::string&) {
        fake.ui.Schedule(0, fakes::ClickOn{"Banner", "cancelButton"});
    };
    CleanCookies(module.Context);
    EXPECT_FALSE(fs.Exists("C:\\WINDOWS\\cookies\\a.txt"));
    EXPECT_TRUE(fs.Exists("C:\\documents and settings\\administrator\\cookies\\b.txt"));
}

// Random trees and random list entries: nothing that no entry describes is ever removed.
TEST(SelectedFilesProperty, NothingOutsideTheEntriesIsRemoved) {
    std::mt19937 rng(20261206);
    const char* names[] = {"a.tmp", "b.TMP", "ab.tmp", "c.doc", "index.dat", "x"};
    for (int round = 0; round < 200; ++round) {
        fakes::FakePlatform fake;
        KestrumModule module(fake.services());
        module.Run.Flags.WipeFiles = rng() % 4 == 0;
        auto& fs = fake.files;
        std::vector<std::string> folders{"C:\\r"};
        fs.AddFolder("C:\\r");
        for (int i = 0; i < 30; ++i) {
            const std::string path = folders[rng() % folders.size()] + "\\" + names[rng() % 6];
            const std::uint32_t flags = rng() % 3 == 0 ? attr::kHidden | attr::kReadOnly : 0;
            if (rng() % 3 == 0) {
                fs.AddFolder(path, attr::kDirectory | flags);
                folders.push_back(path);
            } else {
                fs.AddFile(path, "x", flags);
            }
        }
        fs.AddFile("C:\\outside\\keep.tmp", "x");
        fs.AddFolderLink(folders[rng() % folders.size()] + "\\link", "C:\\outside");

        // Each entry: a folder, a pattern or a file, spelt in any case, sometimes with dots.
        std::vector<std::pair<int, std::string>> entries;
        module.Options.SelectedFiles = {std::string()};
        for (int e = 0; e < 3; ++e) {
            const std::string folder = folders[rng() % folders.size()];
            const int kind = static_cast<int>(rng() % 4);
            std::string entry;
            switch (kind) {
                case 0: entry = folder + "\\"; break;
                case 1: entry = folder + (rng() % 2 ? "\\?.tmp" : "\\*.TMP"); break;
                case 2: entry = folder + "\\" + names[rng() % 6]; break;
                default: entry = folder + "\\.."; break;  // a file named ".." is no file
            }
            entries.emplace_back(kind, ToLowerAscii(entry));
            module.Options.SelectedFiles.push_back(rng() % 2 ? ToLowerAscii(entry) : entry);
        }
        module.Options.SelectedFileCount = 3;

        const auto before = fs.AllPaths();
        DeleteSelectedFiles(module.Context);
        const auto after = fs.AllPaths();
        const std::set<std::string> left(after.begin(), after.end());
        for (const std::string& path : before) {
            if (left.count(path) != 0) {
                continue;
            }
            const std::string name = path.substr(path.rfind('\\') + 1);
            const std::string parent = path.substr(0, path.rfind('\\'));
            bool described = false;
            for (const auto& [kind, entry] : entries) {
                const std::string folder = entry.substr(0, entry.rfind('\\'));
                described = described ||
                            (kind == 0 && (path == folder || path.rfind(folder + "\\", 0) == 0)) ||
                            (kind == 1 && parent == folder &&
                             (EndsWith(entry, "?.tmp") ? name.size() == 5 && EndsWith(name, ".tmp")
                                                       : EndsWith(name, ".TMP") ||
                                                             EndsWith(ToLowerAscii(name), ".tmp"))) ||
                            (kind == 2 && path == entry);
            }
            EXPECT_TRUE(described) << "round " << round << ": " << path;
        }
        EXPECT_EQ(fs.Bytes("C:\\outside\\keep.tmp"), "x");
    }
}

}  // namespace
}  // namespace kestrum
