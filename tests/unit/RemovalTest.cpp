#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/Text.h"
#include "engine/Banner.h"
#include "engine/Removal.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

class RemovalTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    fakes::FakeFileSystem& fs = fake.files;

    std::set<std::string> Paths() const {
        const auto all = fs.AllPaths();
        return {all.begin(), all.end()};
    }
};

TEST_F(RemovalTest, DeleteOneFileClearsAttributesAndReportsSurvivors) {
    fs.AddFile("C:\\t\\ro.txt", "x", attr::kReadOnly | attr::kHidden | attr::kSystem);
    fs.AddFile("C:\\t\\held.txt", "x");
    fs.Lock("C:\\t\\held.txt", false);
    fs.AddFolder("C:\\t\\sub", attr::kHidden);

    DeleteOneFile(module.Context, "C:\\t\\ro.txt");
    EXPECT_FALSE(fs.Exists("C:\\t\\ro.txt"));
    EXPECT_FALSE(module.Run.RebootAdvised);

    DeleteOneFile(module.Context, "C:\\t\\sub");
    EXPECT_EQ(fs.Attributes("C:\\t\\sub"), attr::kDirectory | attr::kHidden) << "folders are no files";

    DeleteOneFile(module.Context, "C:\\t\\held.txt");
    EXPECT_TRUE(fs.Exists("C:\\t\\held.txt"));
    EXPECT_TRUE(module.Run.RebootAdvised);
}

TEST_F(RemovalTest, WipeOverwritesThreeTimesInBoundedBlocksThenRenamesAndDeletes) {
    const std::size_t n = 9u << 20;  // more than two blocks
    fs.AddFile("C:\\data\\report.txt", std::string(n, 'r'), attr::kReadOnly | attr::kHidden);
    fs.AddFile("C:\\data\\other.txt", "keep");
    module.Run.Flags.WipeFiles = true;

    // The first pass is the whole first-stage sequence XORed with the whole second-stage one.
    RandomSource reference = module.Run.Random;
    std::vector<unsigned char> expected(n);
    RandomCharacters(reference, expected.data(), n);
    ScrambleCharacters(reference, expected.data(), n);

    const std::uint64_t start = fake.clock.NowMilliseconds();
    DeleteOneFile(module.Context, "C:\\data\\report.txt");

    ASSERT_EQ(fs.flushedPasses.size(), 3u);
    EXPECT_TRUE(fs.flushedPasses[0].second == std::string(expected.begin(), expected.end()));
    EXPECT_EQ(fs.flushedPasses[1].second, std::string(n, '\x55'));
    EXPECT_EQ(fs.flushedPasses[2].second, std::string(n, '\xAA'));
    EXPECT_LE(fs.largestWrite, 4u << 20);
    EXPECT_GE(fake.clock.NowMilliseconds() - start, 1000u);

    EXPECT_EQ(Paths(), (std::set<std::string>{"c:\\", "c:\\data", "c:\\data\\other.txt",
                                              "c:\\windows", "c:\\windows\\system32"}));
    EXPECT_FALSE(module.Run.RebootAdvised);
    std::set<unsigned char> values(fs.flushedPasses[0].second.begin(), fs.flushedPasses[0].second.end());
    EXPECT_GT(values.size(), 200u) << "pass 1 is no constant";
}

TEST_F(RemovalTest, WipedFileKeepsItsPlaceWhenEveryNewNameIsTaken) {
    // Names of one letter can only be "a" to "y": all exist, so every rename must fail.
    for (char c = 'a'; c <= 'y'; ++c) {
        fs.AddFile(std::string("C:\\f\\") + c, std::string(1, c));
    }
    module.Run.Flags.WipeFiles = true;
    DeleteOneFile(module.Context, "C:\\f\\k");
    EXPECT_EQ(fs.Bytes("C:\\f\\k"), "\xAA");
    for (char c = 'a'; c <= 'y'; ++c) {
        if (c != 'k') {
            EXPECT_EQ(fs.Bytes(std::string("C:\\f\\") + c), std::string(1, c));
        }
    }
    EXPECT_TRUE(module.Run.RebootAdvised);
}

TEST_F(RemovalTest, MatchingFilesOfOneFolder) {
    for (const char* name : {"a.tmp", "B.TMP", "a.tmp2", "footmp", "b.tmp.tmp"}) {
        fs.AddFile(std::string("C:\\w\\") + name, "x");
    }
    fs.AddFolder("C:\\w\\dir.tmp");
    fs.AddFile("C:\\w\\dir.tmp\\inner.tmp", "x");
    DeleteMatchingFiles(module.Context, "C:\\w\\", "*.tmp");
    EXPECT_FALSE(fs.Exists("C:\\w\\a.tmp"));
    EXPECT_FALSE(fs.Exists("C:\\w\\b.tmp.tmp"));
    EXPECT_TRUE(fs.Exists("C:\\w\\B.TMP"));
    EXPECT_TRUE(fs.Exists("C:\\w\\a.tmp2"));
    EXPECT_TRUE(fs.Exists("C:\\w\\footmp"));
    EXPECT_TRUE(fs.Exists("C:\\w\\dir.tmp\\inner.tmp")) << "sub-folders are never entered";
}

TEST(PatternMatch, WholeNamesWithStarAndQuestionMark) {
    EXPECT_TRUE(MatchesPattern("a.tmp", "*.tmp"));
    EXPECT_FALSE(MatchesPattern("A.TMP", "*.tmp"));
    EXPECT_FALSE(MatchesPattern("a.tmp2", "*.tmp"));
    EXPECT_FALSE(MatchesPattern("footmp", "*.tmp"));
    EXPECT_TRUE(MatchesPattern("noextension", "*.*"));
    EXPECT_TRUE(MatchesPattern("report 2024.doc", "report*.doc"));
    EXPECT_FALSE(MatchesPattern("summary.doc", "report*.doc"));
    EXPECT_TRUE(MatchesPattern("x1.log", "x?.log"));
    EXPECT_FALSE(MatchesPattern("x12.log", "x?.log"));
    EXPECT_TRUE(MatchesPattern("a.b.c", "*.*.*"));
    EXPECT_TRUE(MatchesPattern("anything", "*"));
    EXPECT_FALSE(MatchesPattern("data.jpeg", "*.jpg"));
}

TEST(PurgePaths, RootsInAnySpellingAndRelativePathsAreRefused) {
    for (const char* path : {"c:\\", "C:\\\\", "c:\\.", "c:\\temp\\..", "c:\\temp\\..\\..\\",
                             "c:\\...", "c:/", "\\\\server\\share\\", "\\\\server\\share",
                             "\\\\server", "\\\\?\\c:\\", "\\\\?\\UNC\\srv\\share\\", "temp",
                             "\\temp", "c:temp", "", "c:\\ . \\"}) {
        EXPECT_TRUE(IsUnsafePurgePath(path)) << path;
    }
    for (const char* path : {"c:\\temp", "c:\\temp\\", "c:\\a\\..\\b", "\\\\server\\share\\x",
                             "d:\\x\\.\\y"}) {
        EXPECT_FALSE(IsUnsafePurgePath(path)) << path;
    }
}

class PurgeTest : public RemovalTest {
protected:
    void SetUp() override {
        fs.AddFile("C:\\temp\\a.txt", "x", attr::kHidden | attr::kReadOnly);
        fs.AddFile("C:\\temp\\sub\\deep\\b.txt", "x");
        fs.AddFolder("C:\\temp\\empty", attr::kSystem);
        fs.AddFile("C:\\keep.txt", "x");
    }
};

TEST_F(PurgeTest, ContentsGoAndTheFolderStaysOrGoes) {
    PurgeFolderContents(module.Context, "C:\\temp\\");
    EXPECT_EQ(Paths(), (std::set<std::string>{"c:\\", "c:\\temp", "c:\\keep.txt", "c:\\windows",
                                              "c:\\windows\\system32"}));
    fs.AddFile("C:\\temp\\again.txt", "x");
    PurgeFolder(module.Context, "C:\\temp\\");
    EXPECT_FALSE(fs.Exists("C:\\temp"));
    EXPECT_TRUE(fs.Exists("C:\\keep.txt"));
}

TEST_F(PurgeTest, RootsAreNeverPurged) {
    const auto before = Paths();
    for (const char* root : {"c:\\", "C:\\.", "c:\\temp\\..", "c:\\\\"}) {
        PurgeFolderContents(module.Context, root);
        PurgeFolder(module.Context, root);
    }
    EXPECT_EQ(Paths(), before);
}

TEST_F(PurgeTest, CacheIndexFoldersStayAndLockedIndexFilesAreOverwritten) {
    fs.AddFile("C:\\temp\\content.ie5\\ab12\\page.htm", "x");
    fs.AddFile("C:\\temp\\history.ie5\\index.dat", "history");
    fs.Lock("C:\\temp\\history.ie5\\index.dat", true);
    fs.AddFile("C:\\temp\\cookies\\index.dat", "cookies");
    fs.Lock("C:\\temp\\cookies\\index.dat", true);
    PurgeFolderContents(module.Context, "C:\\temp");
    EXPECT_TRUE(fs.Exists("C:\\temp\\content.ie5"));
    EXPECT_FALSE(fs.Exists("C:\\temp\\content.ie5\\ab12"));
    EXPECT_EQ(fs.Bytes("C:\\temp\\history.ie5\\index.dat"), std::string(7, '\x55'));
    EXPECT_EQ(fs.Bytes("C:\\temp\\cookies\\index.dat"), "cookies");
    EXPECT_TRUE(module.Run.RebootAdvised);
}

TEST_F(PurgeTest, LinksAreRemovedNeverEntered) {
    fs.AddFile("C:\\precious\\thesis.doc", "x");
    fs.AddFolderLink("C:\\temp\\junction", "C:\\precious");
    module.Run.Flags.WipeFiles = true;
    PurgeFolderContents(module.Context, "C:\\temp");
    EXPECT_FALSE(fs.Exists("C:\\temp\\junction"));
    EXPECT_EQ(fs.Bytes("C:\\precious\\thesis.doc"), "x");

    // A link named as the folder to purge is no different.
    fs.AddFolderLink("C:\\temp\\junction", "C:\\precious");
    PurgeFolderContents(module.Context, "C:\\temp\\junction\\");
    EXPECT_EQ(fs.Bytes("C:\\precious\\thesis.doc"), "x");
    PurgeFolder(module.Context, "C:\\temp\\junction\\");
    EXPECT_FALSE(fs.Exists("C:\\temp\\junction"));
    EXPECT_EQ(fs.Bytes("C:\\precious\\thesis.doc"), "x");
}

TEST_F(PurgeTest, CancelStopsBeforeAnyFurtherFolderIsRemoved) {
    fs.AddFile("C:\\temp\\sub\\deep\\c.txt", "x");
    Banner banner(module.Context);
    banner.Show();
    // The user presses Cancel just as "deep\b.txt" goes.
    fs.onRemoved = [&](const std::string& path) {
        if (path == "c:\\temp\\sub\\deep\\b.txt") {
            fake.ui.Schedule(0, fakes::ClickOn{"Banner", "cancelButton"});
        }
    };
    PurgeFolderContents(module.Context, "C:\\temp");
    EXPECT_FALSE(fs.Exists("C:\\temp\\empty")) << "finished before the cancel";
    EXPECT_TRUE(fs.Exists("C:\\temp\\sub\\deep\\c.txt")) << "entries after the cancel stay";
    EXPECT_TRUE(fs.Exists("C:\\temp\\sub\\deep"));
    EXPECT_TRUE(fs.Exists("C:\\temp\\sub"));
}

}  // namespace
}  // namespace kestrum
