#include <gtest/gtest.h>

#include "fakes/FakeSystem.h"
#include "settings/OptionFlags.h"
#include "settings/Settings.h"

namespace kestrum {
namespace {

// The flags in DeleteOptions order, then WipeFiles, as "0" and "1".
std::string Parsed(const std::string& general, const std::string& del, RunFlags f = {}) {
    ParseRunFlags(general, del, f);
    std::string bits;
    for (bool flag : {f.DeleteHistory, f.DeleteCookies, f.DeleteRecent, f.DeleteTemporary, f.DeleteCache,
                      f.ClearRecycleBin, f.DeleteSelected, f.ClearDnsCache, f.DeletePrefetch, f.WipeFiles}) {
        bits += flag ? '1' : '0';
    }
    return bits;
}

TEST(OptionFlags, ParsingSetsWhatTheDigitsSayAndKeepsTheRest) {
    fakes::FakeSettingsStore store;
    EXPECT_EQ(Parsed(ReadGeneralOptions(store), ReadDeleteOptions(store)), "1111110000")
        << "each string has its default: the first six categories and no wiping";
    store.Put("GeneralOptions", "00100000000000000000");
    EXPECT_EQ(ReadGeneralOptions(store), "00100000000000000000");
    EXPECT_EQ(ReadDeleteOptions(store), "11111100000000000000");

    // Flags set before: cookies and wiping. Missing positions and characters that are no digits
    // keep the previous value; any digit but 0 sets the flag.
    RunFlags before;
    before.WipeFiles = before.DeleteCookies = true;
    const struct {
        std::string general, del, bits;
    } cases[] = {
        {"1", "000000001", "0000000011"},
        {"11x", "x9 -0\xC3\xA9", "0100000001"},
        {std::string(5000, '1'), std::string(100000, '0'), "0000000001"},
        {"110", "111111111", "1111111110"},
        {"001", "101010101", "1010101011"},  // each position read from its own place
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Parsed(c.general, c.del, before), c.bits)
            << c.general.substr(0, 5) << "|" << c.del.substr(0, 9);
    }
}

TEST(OptionFlags, BuiltStringsAreTwentyCharacters) {
    EXPECT_EQ(BuildFlagString({true, false, true}), "10100000000000000000");
    EXPECT_EQ(BuildFlagString({false, false, false, false, false, false, false, false, false}), "00000000000000000000");
}

TEST(Settings, SaveWritesTextThatReadsBackAndASplashValueThatIsNoNumberKeepsTheDefault) {
    fakes::FakeSettingsStore store;
    const StoredSettings none = ReadSettings(store);
    EXPECT_TRUE(none.ShowSplash);
    EXPECT_EQ(none.Defined, "No");

    StoredSettings s{"00100000000000000000", "10000000100000000000", false, "Yes"};
    ASSERT_TRUE(SaveSettings(store, s));
    EXPECT_EQ(store.values.at("Kestrum\\Settings\\ShowSplash"), "0");
    const StoredSettings back = ReadSettings(store);
    EXPECT_EQ(back.GeneralOptions + back.DeleteOptions + back.Defined,
              s.GeneralOptions + s.DeleteOptions + "Yes");
    EXPECT_FALSE(back.ShowSplash);
    store.failWrites = true;
    EXPECT_FALSE(SaveSettings(store, s));

    for (const auto& [text, shown] : {std::pair{"no", true}, {"", true}, {"00", false}}) {
        store.Put("ShowSplash", text);
        EXPECT_EQ(ReadSettings(store).ShowSplash, shown) << text;
    }
}

}  // namespace
}  // namespace kestrum
