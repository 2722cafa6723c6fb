#include <gtest/gtest.h>

#include "fakes/FakeSystem.h"
#include "settings/OptionFlags.h"
#include "settings/Settings.h"

namespace kestrum {
namespace {

RunFlags Parsed(const std::string& general, const std::string& del, RunFlags before = {}) {
    ParseRunFlags(general, del, before);
    return before;
}

TEST(OptionFlags, EachStringHasItsDefaultGivingTheFirstSixCategoriesAndNoWiping) {
    fakes::FakeSettingsStore store;
    const RunFlags f = Parsed(ReadGeneralOptions(store), ReadDeleteOptions(store));
    EXPECT_TRUE(f.DeleteHistory && f.DeleteCookies && f.DeleteRecent && f.DeleteTemporary &&
                f.DeleteCache && f.ClearRecycleBin);
    EXPECT_FALSE(f.DeleteSelected || f.ClearDnsCache || f.DeletePrefetch || f.WipeFiles);
    store.Put("GeneralOptions", "00100000000000000000");
    EXPECT_EQ(ReadGeneralOptions(store), "00100000000000000000");
    EXPECT_EQ(ReadDeleteOptions(store), "11111100000000000000");
}

TEST(OptionFlags, ShortOrForeignTextLeavesFlagsAsTheyWere) {
    RunFlags before;
    before.WipeFiles = true;
    before.DeleteCookies = true;
    // Nine characters: only prefetch; the rest of the string is not needed.
    RunFlags f = Parsed("1", "000000001", before);
    EXPECT_TRUE(f.DeletePrefetch);
    EXPECT_FALSE(f.DeleteCookies);
    EXPECT_TRUE(f.WipeFiles) << "a one-character GeneralOptions has no position 3";

    // Other characters keep the previous value; any digit but 0 sets the flag.
    f = Parsed("11x", "x9 -0\xC3\xA9", before);
    EXPECT_FALSE(f.DeleteHistory);
    EXPECT_TRUE(f.DeleteCookies);
    EXPECT_FALSE(f.DeleteRecent);
    EXPECT_FALSE(f.DeleteTemporary);
    EXPECT_FALSE(f.DeleteCache);
    EXPECT_TRUE(f.WipeFiles);

    // Empty and over-long strings never stop anything either.
    f = Parsed("", "", before);
    EXPECT_TRUE(f.WipeFiles && f.DeleteCookies);
    f = Parsed(std::string(5000, '1'), std::string(100000, '0'), before);
    EXPECT_TRUE(f.WipeFiles);
    EXPECT_FALSE(f.DeleteCookies);
}

TEST(OptionFlags, BuiltStringsAreTwentyCharacters) {
    EXPECT_EQ(BuildFlagString({true, false, true}), "10100000000000000000");
    EXPECT_EQ(BuildFlagString({false, false, false, false, false, false, false, false, false}),
              kNoDeleteOptions);
}

TEST(Settings, SaveWritesTextThatReadsBack) {
    fakes::FakeSettingsStore store;
    const StoredSettings none = ReadSettings(store);
    EXPECT_TRUE(none.ShowSplash);
    EXPECT_EQ(none.Defined, "No");

    StoredSettings s{"00100000000000000000", "10000000100000000000", false, "Yes"};
    ASSERT_TRUE(SaveSettings(store, s));
    EXPECT_EQ(store.values.at("Kestrum\\Settings\\ShowSplash"), "0");
    const StoredSettings back = ReadSettings(store);
    EXPECT_EQ(back.GeneralOptions, s.GeneralOptions);
    EXPECT_EQ(back.DeleteOptions, s.DeleteOptions);
    EXPECT_FALSE(back.ShowSplash);
    EXPECT_EQ(back.Defined, "Yes");

    store.failWrites = true;
    EXPECT_FALSE(SaveSettings(store, s));
}

TEST(Settings, SplashValueThatIsNoNumberKeepsTheDefault) {
    fakes::FakeSettingsStore store;
    for (const auto& [text, shown] : {std::pair{"no", true}, {"", true}, {"00", false}}) {
        store.Put("ShowSplash", text);
        EXPECT_EQ(ReadSettings(store).ShowSplash, shown) << text;
    }
}

}  // namespace
}  // namespace kestrum
