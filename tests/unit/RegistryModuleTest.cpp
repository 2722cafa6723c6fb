#include <gtest/gtest.h>

#include "fakes/FakeRegistry.h"
#include "registry/RegistryModule.h"

namespace kestrum {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
const std::string kKey = "software\\kestrum test";
const std::vector<std::string> kErrorList{"Error!"};

class RegistryModuleTest : public ::testing::Test {
protected:
    fakes::FakeRegistry fake;
    RegistryModule registry{fake};

    void SetUp() override { fake.Key(kUser, kKey); }
    void TearDown() override { EXPECT_EQ(fake.openKeys, 0) << "every key is closed on every path"; }
};

TEST_F(RegistryModuleTest, ReadsTextWithItsTerminatorNumbersAndNothingForOtherTypes) {
    fake.SetText(kUser, kKey, "name", "abc");
    fake.SetNumber(kUser, kKey, "count", -7);
    fake.SetBinary(kUser, kKey, "blob");
    fake.SetText(kUser, kKey, "expand", "%TEMP%", regtype::kExpandText);
    fake.SetText(kUser, kKey, "broken", "x");
    fake.Find(kUser, kKey)->FindValue("broken")->unreadable = true;

    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "name"), RegistryRead(std::string("abc\0", 4)));
    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "COUNT"), RegistryRead(std::int32_t{-7}));
    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "blob"), RegistryRead());
    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "expand"), RegistryRead());
    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "broken"), RegistryRead()) << "second read failed";
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, kKey, "missing")));
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, "software\\nowhere", "name")));

    // Reads open with full access, so a key the user may only read answers an error.
    fake.Find(kUser, kKey)->readOnly = true;
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, kKey, "name")));
    EXPECT_EQ(fake.opened.back(), "80000001|" + kKey + "|full");
}

TEST_F(RegistryModuleTest, WritesIntoExistingKeysOnly) {
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "empty", 1, std::string()), "Success!");
    EXPECT_EQ(fake.Text(kUser, kKey, "empty"), std::string(1, '\0'));
    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "empty"), RegistryRead(std::string(1, '\0')));

    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "number", 1, std::int64_t{42}), "Success!");
    EXPECT_EQ(fake.Text(kUser, kKey, "number"), std::string("42\0", 3));
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "path", 2, std::string("%windir%")), "Success!");
    EXPECT_EQ(fake.Find(kUser, kKey)->FindValue("path")->type, regtype::kExpandText);
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "dword", 4, std::string(" 12 ")), "Success!");
    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "dword"), RegistryRead(std::int32_t{12}));

    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "bad", 4, std::string("twelve")), "Error!");
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "big", 4, std::int64_t{1} << 40), "Error!");
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "huge", 4, std::string("99999999999999999999")),
              "Error!");
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "binary", 3, std::string("x")), "Error!");
    EXPECT_FALSE(fake.Text(kUser, kKey, "bad") || fake.Text(kUser, kKey, "big") ||
                 fake.Text(kUser, kKey, "huge") || fake.Text(kUser, kKey, "binary"));

    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey + "\\new", "v", 1, std::string("x")), "Error!");
    EXPECT_FALSE(fake.HasKey(kUser, kKey + "\\new")) << "a write never creates a key";
}

TEST_F(RegistryModuleTest, DeletesValuesAndKeysByThePlatformsAnswer) {
    fake.SetText(kUser, kKey, "v", "1");
    fake.Key(kUser, kKey + "\\leaf");
    fake.Key(kUser, kKey + "\\branch\\twig");

    EXPECT_EQ(registry.DeleteRegistryValue(kUser, kKey, "v"), "Success!");
    EXPECT_EQ(registry.DeleteRegistryValue(kUser, kKey, "v"), "Error!");
    EXPECT_EQ(registry.DeleteRegistryValue(kUser, "software\\nowhere", "v"), "Error!");
    EXPECT_EQ(registry.DeleteRegistryKey(kUser, kKey, "leaf"), "Success!");
    EXPECT_FALSE(fake.HasKey(kUser, kKey + "\\leaf"));
    EXPECT_EQ(registry.DeleteRegistryKey(kUser, kKey, "branch"), "Error!") << "it has a subkey";
    EXPECT_EQ(registry.DeleteRegistryKey(kUser, kKey, ""), "Error!");
    EXPECT_TRUE(fake.HasKey(kUser, kKey));
}

TEST_F(RegistryModuleTest, ListingsAreTrimmedWholeOrAnError) {
    EXPECT_EQ(registry.EnumRegistryKeys(kUser, kKey), kErrorList) << "no subkeys";
    EXPECT_EQ(registry.EnumRegistryValues(kUser, kKey), kErrorList) << "no values";
    EXPECT_EQ(registry.EnumRegistryKeys(kUser, "software\\nowhere"), kErrorList);
    EXPECT_EQ(registry.EnumRegistryValues(kUser, "software\\nowhere"), kErrorList);

    fake.Key(kUser, kKey + "\\  spaced  ");
    fake.Key(kUser, kKey + "\\plain");
    fake.SetText(kUser, kKey, " a ", "1");
    fake.SetText(kUser, kKey, "", "default");
    fake.SetText(kUser, kKey, std::string(2000, 'n'), "does not fit the buffer");
    fake.SetText(kUser, kKey, "after", "never reached");
    fake.Find(kUser, kKey)->readOnly = true;

    EXPECT_EQ(registry.EnumRegistryKeys(kUser, kKey), (std::vector<std::string>{"spaced", "plain"}));
    EXPECT_EQ(registry.EnumRegistryValues(kUser, kKey), (std::vector<std::string>{"a", ""}))
        << "a name that does not fit ends the listing";
    EXPECT_EQ(fake.opened.back(), "80000001|" + kKey + "|read");
    fake.Key(RegistryHive::Users, "S-1-5-18");
    EXPECT_EQ(registry.EnumRegistryKeys(RegistryHive::Users, ""), (std::vector<std::string>{"S-1-5-18"}))
        << "an empty path lists the hive itself";
}

}  // namespace
}  // namespace kestrum
