#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "settings/ListFile.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

using Entries = std::vector<std::string>;

TEST(ListText, EveryKindOfLineEndEndsOneEntry) {
    EXPECT_EQ(ParseListText("a\r\nb\r\n", 100), (Entries{"a", "b"}));
    EXPECT_EQ(ParseListText("a\nb\nc", 100), (Entries{"a", "b", "c"}));
    EXPECT_EQ(ParseListText("a\rb\rc\r", 100), (Entries{"a", "b", "c"}));
    EXPECT_EQ(ParseListText("a\r\nb\nc\rd", 100), (Entries{"a", "b", "c", "d"}));
}

TEST(ListText, AnEmptyLineEndsTheList) {
    EXPECT_EQ(ParseListText("c:\\a\r\nc:\\b\r\n\r\nc:\\c\r\n", 100), (Entries{"c:\\a", "c:\\b"}));
    EXPECT_EQ(ParseListText("a\n\nb", 100), (Entries{"a"}));
    EXPECT_EQ(ParseListText("\r\na\r\n", 100), Entries{});
    EXPECT_EQ(ParseListText("", 100), Entries{});
}

TEST(ListText, LinesAreKeptExactly) {
    EXPECT_EQ(ParseListText("  c:\\x.txt \r\nc:\\x.txt\r\nc:\\x.txt\r\n", 100),
              (Entries{"  c:\\x.txt ", "c:\\x.txt", "c:\\x.txt"}));
    // Binary content is entries like any other text; nothing is lost or merged.
    const std::string binary("\x01\x02\0z\xff\r\n\x7f", 8);
    const Entries got = ParseListText(binary, 100);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], std::string("\x01\x02\0z\xff", 5));
    EXPECT_EQ(got[1], "\x7f");
}

class LoadSelectedFilesTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};

    void SetUp() override {
        fake.files.AddFolder("C:\\Program Files\\Kestrum");
        module.Startup.ListFilePath = "C:\\Program Files\\Kestrum\\Kestrum.lst";
    }
};

TEST_F(LoadSelectedFilesTest, NoFileGivesAnEmptyListAndCreatesNothing) {
    module.Options.SelectedFiles.push_back("stale");
    module.Options.SelectedFileCount = 1;
    LoadSelectedFiles(module.platform.files, module.Startup.ListFilePath, module.Options);
    EXPECT_EQ(module.Options.SelectedFileCount, 0);
    EXPECT_EQ(module.Options.SelectedFiles.size(), 1u) << "index 0 only";
    EXPECT_FALSE(fake.files.FileExists(module.Startup.ListFilePath));
}

TEST_F(LoadSelectedFilesTest, EntriesStartAtIndexOne) {
    fake.files.AddFile(module.Startup.ListFilePath, "c:\\temp\\\r\nc:\\a\\*.bak\r\n\r\nc:\\never\r\n");
    LoadSelectedFiles(module.platform.files, module.Startup.ListFilePath, module.Options);
    ASSERT_EQ(module.Options.SelectedFileCount, 2);
    EXPECT_EQ(module.Options.SelectedFiles[0], "");
    EXPECT_EQ(module.Options.SelectedFiles[1], "c:\\temp\\");
    EXPECT_EQ(module.Options.SelectedFiles[2], "c:\\a\\*.bak");
}

TEST_F(LoadSelectedFilesTest, AHugeFileStopsAtTheCountLimit) {
    std::string text;
    for (int i = 0; i < 100000; ++i) {
        text += "c:\\f" + std::to_string(i) + "\r\n";
    }
    fake.files.AddFile(module.Startup.ListFilePath, text);
    LoadSelectedFiles(module.platform.files, module.Startup.ListFilePath, module.Options);
    EXPECT_EQ(module.Options.SelectedFileCount, 32767);
    EXPECT_EQ(module.Options.SelectedFiles.size(), 32768u);
    EXPECT_EQ(module.Options.SelectedFiles[32767], "c:\\f32766");
}

TEST_F(LoadSelectedFilesTest, UnreadableFileAndCodePageBytes) {
    fake.files.AddFile(module.Startup.ListFilePath, "c:\\caf\xE9.txt\r\nc:\\\x81\x8D.txt\r\n");
    LoadSelectedFiles(module.platform.files, module.Startup.ListFilePath, module.Options);
    ASSERT_EQ(module.Options.SelectedFileCount, 2);
    EXPECT_EQ(module.Options.SelectedFiles[1], "c:\\caf\xC3\xA9.txt");

    fake.files.unreadable.insert("c:\\program files\\kestrum\\kestrum.lst");
    LoadSelectedFiles(module.platform.files, module.Startup.ListFilePath, module.Options);
    EXPECT_EQ(module.Options.SelectedFileCount, 0);
}

TEST_F(LoadSelectedFilesTest, WrittenListReadsBackTheSame) {
    const Entries entries{" c:\\lead", "c:\\caf\xC3\xA9\\", "c:\\x\\*.*"};
    ASSERT_TRUE(WriteListFile(fake.files, module.Startup.ListFilePath, entries));
    EXPECT_EQ(*fake.files.Bytes(module.Startup.ListFilePath), " c:\\lead\r\nc:\\caf\xE9\\\r\nc:\\x\\*.*\r\n");
    LoadSelectedFiles(module.platform.files, module.Startup.ListFilePath, module.Options);
    ASSERT_EQ(module.Options.SelectedFileCount, 3);
    EXPECT_EQ(Entries(module.Options.SelectedFiles.begin() + 1, module.Options.SelectedFiles.end()), entries);

    ASSERT_TRUE(WriteListFile(fake.files, module.Startup.ListFilePath, {}));
    EXPECT_EQ(*fake.files.Bytes(module.Startup.ListFilePath), "");
    LoadSelectedFiles(module.platform.files, module.Startup.ListFilePath, module.Options);
    EXPECT_EQ(module.Options.SelectedFileCount, 0);

    EXPECT_FALSE(WriteListFile(fake.files, "C:\\no such folder\\Kestrum.lst", entries));
}

}  // namespace
}  // namespace kestrum
