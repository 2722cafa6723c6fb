#include <gtest/gtest.h>

#include "common/Path.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSystem.h"
#include "settings/ListFile.h"
#include "settings/OptionFlags.h"
#include "settings/Settings.h"

namespace kestrum {
namespace {

using Entries = std::vector<std::string>;

class LoadSelectedFilesTest : public ::testing::Test {
  protected:
    fakes::FakeFileSystem fs;
    OptionState options;
    const std::string path = "C:\\Program Files\\Kestrum\\Kestrum.lst";

    void SetUp() override { fs.AddFolder("C:\\Program Files\\Kestrum"); }
    Entries Load() {
        LoadSelectedFiles(fs, path, options);
        EXPECT_EQ(options.SelectedFiles.size(),
                  static_cast<std::size_t>(options.SelectedFileCount) + 1);
        EXPECT_EQ(options.SelectedFiles[0], "") << "index 0 never holds an entry";
        return Entries(options.SelectedFiles.begin() + 1, options.SelectedFiles.end());
    }
};

// Lines end at CR LF, LF or CR, an empty one ends the list, and the text is kept exactly (from
// ANSI).
TEST_F(LoadSelectedFilesTest, EntriesFromIndexOneUpToTheCountLimitAndNothingWithoutAReadableFile) {
    options.SelectedFiles.push_back("stale");
    options.SelectedFileCount = 1;
    EXPECT_EQ(Load(), Entries{});
    EXPECT_FALSE(fs.FileExists(path)) << "a missing list is not created";
    const std::pair<std::string, Entries> cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\rb\rc\r", {"a", "b", "c"}},
        {"a\n\nb", {"a"}},
        {"\r\na\r\n", {}},
        {"", {}},
        {"c:\\temp\\\r\nc:\\caf\xE9\\*.bak\r\n\r\nc:\\never\r\n",
         {"c:\\temp\\", "c:\\caf\xC3\xA9\\*.bak"}},
        {"  c:\\x.txt \r\nc:\\x.txt\r\nc:\\x.txt", {"  c:\\x.txt ", "c:\\x.txt", "c:\\x.txt"}},
        {std::string("\x01\0z\r\n\x7f", 6), {std::string("\x01\0z", 3), "\x7f"}},
    };
    for (const auto& [text, entries] : cases) {
        fs.AddFile(path, text);
        EXPECT_EQ(Load(), entries) << text;
    }
    fs.unreadable.insert("c:\\program files\\kestrum\\kestrum.lst");
    EXPECT_EQ(Load(), Entries{});

    std::string text;
    for (int i = 0; i < 33000; ++i)
        text += "c:\\f" + std::to_string(i) + "\r\n";
    fs.AddFile(path, text);
    fs.unreadable.clear();
    EXPECT_EQ(Load().back(), "c:\\f32766");
    EXPECT_EQ(options.SelectedFileCount, 32767);
}

TEST_F(LoadSelectedFilesTest, WrittenListReadsBackTheSame) {
    const Entries entries{" c:\\lead", "c:\\caf\xC3\xA9\\", "c:\\x\\*.*"};
    ASSERT_TRUE(WriteListFile(fs, path, entries));
    EXPECT_EQ(*fs.Bytes(path), " c:\\lead\r\nc:\\caf\xE9\\\r\nc:\\x\\*.*\r\n");
    EXPECT_EQ(Load(), entries);
    ASSERT_TRUE(WriteListFile(fs, path, {}));
    EXPECT_EQ(*fs.Bytes(path), "");
}

// Locations are joined and compared without any of their trailing separators.
TEST(PathTest, EveryTrailingSeparatorGoes) {
    EXPECT_EQ(WithoutTrailingSeparator("c:\\x\\\\"), "c:\\x");
}

// The flags in DeleteOptions order, then WipeFiles, as "0" and "1".
std::string Parsed(const std::string& general, const std::string& del, RunFlags f = {}) {
    ParseRunFlags(general, del, f);
    std::string bits;
    for (bool flag :
         {f.DeleteHistory, f.DeleteCookies, f.DeleteRecent, f.DeleteTemporary, f.DeleteCache,
          f.ClearRecycleBin, f.DeleteSelected, f.ClearDnsCache, f.DeletePrefetch, f.WipeFiles})
        bits += flag ? '1' : '0';
    return bits;
}

// Saved settings read back; only the number 1 chooses the splash once something is stored.
TEST(Settings, DefaultsSavingAndTheFlagsTheOptionStringsSet) {
    fakes::FakeSettingsStore store;
    EXPECT_EQ(Parsed(ReadGeneralOptions(store), ReadDeleteOptions(store)), "1111110000")
        << "the first six categories, no wiping";
    EXPECT_TRUE(ReadShowSplash(store) && !ReadDefined(store));
    StoredSettings s{"00100000000000000000", "10000000100000000000", false, "Yes"};
    ASSERT_TRUE(SaveSettings(store, s));
    EXPECT_EQ(ReadGeneralOptions(store) + ReadDeleteOptions(store),
              s.GeneralOptions + s.DeleteOptions);
    EXPECT_TRUE(ReadDefined(store));
    EXPECT_FALSE(ReadShowSplash(store));
    for (const auto& [text, shown] : {std::pair{"no", false}, {"", false}, {" 1", true}}) {
        store.Put("ShowSplash", text);
        EXPECT_EQ(ReadShowSplash(store), shown) << text;
    }

    // Missing positions and non-digits keep the flag set before (cookies, wiping); non-zero sets.
    RunFlags before;
    before.WipeFiles = true;
    before.DeleteCookies = true;
    const struct {
        std::string general, del, bits;
    } cases[] = {
        {"1", "000000001", "0000000011"},
        {"11x", "x9 -0\xC3\xA9", "0100000001"},
        {std::string(5000, '1'), std::string(100000, '0'), "0000000001"},
        {"110", "111111111", "1111111110"},
        {"001", "101010101", "1010101011"},  // each position read from its own place
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parsed(c.general, c.del, before), c.bits)
            << c.general.substr(0, 5) << "|" << c.del.substr(0, 9);
}

}  // namespace
}  // namespace kestrum
