#include <gtest/gtest.h>

#include <set>

#include "engine/Banner.h"
#include "engine/Removal.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

using Paths = std::vector<std::string>;  // as the fake lists them: lower case, sorted

class RemovalTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    fakes::FakeFileSystem& fs = fake.files;
};

TEST_F(RemovalTest, DeleteOneFileClearsAttributesAndReportsSurvivors) {
    fs.AddFile("C:\\t\\ro.txt", "x", attr::kReadOnly | attr::kHidden | attr::kSystem);
    fs.AddFile("C:\\t\\held.txt", "x");
    fs.Lock("C:\\t\\held.txt");
    fs.AddFolder("C:\\t\\sub", attr::kHidden);
    DeleteOneFile(module.Context, "C:\\t\\ro.txt");
    DeleteOneFile(module.Context, "C:\\t\\sub");
    EXPECT_FALSE(fs.Exists("C:\\t\\ro.txt"));
    EXPECT_EQ(fs.Attributes("C:\\t\\sub"), attr::kDirectory | attr::kHidden) << "folders are no files";
    EXPECT_FALSE(module.Run.RebootAdvised);
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
    std::string expected(n, '\0');
    auto* bytes = reinterpret_cast<unsigned char*>(expected.data());
    RandomCharacters(reference, bytes, n);
    ScrambleCharacters(reference, bytes, n);

    const std::uint64_t start = fake.clock.NowMilliseconds();
    DeleteOneFile(module.Context, "C:\\data\\report.txt");
    ASSERT_EQ(fs.flushedPasses.size(), 3u);
    EXPECT_TRUE(fs.flushedPasses[0].second == expected);
    EXPECT_GT(std::set<char>(expected.begin(), expected.end()).size(), 200u) << "pass 1 is no constant";
    EXPECT_EQ(fs.flushedPasses[1].second, std::string(n, '\x55'));
    EXPECT_EQ(fs.flushedPasses[2].second, std::string(n, '\xAA'));
    EXPECT_LE(fs.largestWrite, 4u << 20);
    EXPECT_GE(fake.clock.NowMilliseconds() - start, 1000u);
    EXPECT_EQ(fs.AllPaths(), (Paths{"c:\\", "c:\\data", "c:\\data\\other.txt", "c:\\windows", "c:\\windows\\system32"}));
    EXPECT_FALSE(module.Run.RebootAdvised);
}

TEST_F(RemovalTest, WipedFileKeepsItsPlaceWhenEveryNewNameIsTaken) {
    // Names of one letter can only be "a" to "y": all exist, so every rename must fail.
    for (char c = 'a'; c <= 'y'; ++c) {
        fs.AddFile(std::string("C:\\f\\") + c, std::string(1, c));
    }
    module.Run.Flags.WipeFiles = true;
    DeleteOneFile(module.Context, "C:\\f\\k");
    for (char c = 'a'; c <= 'y'; ++c) {
        EXPECT_EQ(fs.Bytes(std::string("C:\\f\\") + c), c == 'k' ? "\xAA" : std::string(1, c));  // wiped in place
    }
    EXPECT_TRUE(module.Run.RebootAdvised);
}

TEST(PatternMatch, WholeCaseSensitiveNamesWithStarAndQuestionMark) {
    const struct { const char *name, *pattern; bool matches; } cases[] = {{"a.tmp", "*.tmp", true},     {"A.TMP", "*.tmp", false},  {"a.tmp2", "*.tmp", false},
                 {"x", "*.*", true},           {"a.b.c", "*.*.*", true},   {"ab.doc", "a*b.doc", true},
                 {"acb.dot", "a*b.doc", false}, {"x1.log", "x?.log", true}, {"x12.log", "x?.log", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
    }
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

TEST_F(PurgeTest, ContentsGoAndTheFolderStaysOrGoesButRootsNeverGo) {
    const Paths before = fs.AllPaths();
    for (const char* root : {"c:\\", "C:\\.", "c:\\temp\\..", "c:\\\\"}) {
        PurgeFolderContents(module.Context, root);
        PurgeFolder(module.Context, root);
    }
    EXPECT_EQ(fs.AllPaths(), before);
    PurgeFolderContents(module.Context, "C:\\temp\\");
    EXPECT_EQ(fs.AllPaths(), (Paths{"c:\\", "c:\\keep.txt", "c:\\temp", "c:\\windows", "c:\\windows\\system32"}));
    fs.AddFile("C:\\temp\\again.txt", "x");
    PurgeFolder(module.Context, "C:\\temp\\");
    EXPECT_EQ(fs.AllPaths(), (Paths{"c:\\", "c:\\keep.txt", "c:\\windows", "c:\\windows\\system32"}));
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
}

}  // namespace
}  // namespace kestrum
