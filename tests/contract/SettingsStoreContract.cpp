#include "contract/SettingsStoreContract.h"

namespace kestrum::contract {
namespace {

TEST_P(SettingsStoreContract, AbsentAtEveryLevelReadsAsNothing) {
    ISettingsStore& store = subject->Store();
    EXPECT_FALSE(store.Read(app, "Settings", "GeneralOptions").has_value()) << "no application";
    ASSERT_TRUE(store.Write(app, "Other", "GeneralOptions", "1"));
    EXPECT_FALSE(store.Read(app, "Settings", "GeneralOptions").has_value()) << "no section";
    ASSERT_TRUE(store.Write(app, "Settings", "DeleteOptions", "1"));
    EXPECT_FALSE(store.Read(app, "Settings", "GeneralOptions").has_value()) << "no value";
}

TEST_P(SettingsStoreContract, TextRoundTripsAndTheLastWriteWins) {
    ISettingsStore& store = subject->Store();
    const struct {
        const char* name;
        std::string value;
    } cases[] = {
        {"GeneralOptions", "00100000000000000000"},
        {"Empty", ""},
        {"Accents", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"Huge", std::string(200000, '1')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(store.Write(app, "Settings", c.name, c.value));
        EXPECT_EQ(store.Read(app, "Settings", c.name), c.value);
        EXPECT_TRUE(subject->StoredAsText("Settings", c.name));
    }
    ASSERT_TRUE(store.Write(app, "Settings", "GeneralOptions", "1"));
    EXPECT_EQ(store.Read(app, "Settings", "GeneralOptions"), "1");
    EXPECT_EQ(store.Read(app, "Other", "GeneralOptions"), std::nullopt) << "sections stay apart";
}

TEST_P(SettingsStoreContract, ForeignValuesReadSafely) {
    ISettingsStore& store = subject->Store();
    subject->PutNumber("Settings", "DeleteOptions");
    EXPECT_FALSE(store.Read(app, "Settings", "DeleteOptions").has_value()) << "not text";

    subject->PutStoredText("Settings", "NoNul", "101");
    EXPECT_EQ(store.Read(app, "Settings", "NoNul"), "101");
    subject->PutStoredText("Settings", "EarlyNul", std::string("10\0" "1", 4));
    EXPECT_EQ(store.Read(app, "Settings", "EarlyNul"), "10") << "the text ends at its first NUL";
}

}  // namespace
}  // namespace kestrum::contract
