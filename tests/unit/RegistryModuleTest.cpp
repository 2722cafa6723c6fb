#include <gtest/gtest.h>

#include "fakes/FakeRegistry.h"
#include "registry/RegistryModule.h"

namespace kestrum {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
const std::string kKey = "software\\kestrum test", kNowhere = "software\\nowhere";
using Names = std::vector<std::string>;

class RegistryModuleTest : public ::testing::Test {
protected:
    fakes::FakeRegistry fake;
    RegistryModule registry{fake};

    void SetUp() override { fake.Key(kUser, kKey); }
    void TearDown() override { EXPECT_EQ(fake.openKeys, 0) << "every key is closed on every path"; }
};

TEST_F(RegistryModuleTest, ReadsTextWithItsTerminatorNumbersAndNothingForOtherTypes) {
    fake.SetText(kUser, kKey, "name", "abc");
    fake.Key(kUser, kKey).Put({"count", regtype::kNumber, {}, -7});
    fake.Key(kUser, kKey).Put({"blob", regtype::kBinary, "\x01\x02"});
    fake.SetText(kUser, kKey, "expand", "%TEMP%", regtype::kExpandText);
    fake.SetText(kUser, kKey, "broken", "x");
    fake.Find(kUser, kKey)->FindValue("broken")->unreadable = true;

    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "name"), RegistryRead(std::string("abc\0", 4)));
    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "COUNT"), RegistryRead(std::int32_t{-7}));
    for (const char* name : {"blob", "expand", "broken"}) {
        EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, name), RegistryRead()) << name;
    }
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, kKey, "missing")));
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, kNowhere, "name")));
    // Reads open with full access, so a key the user may only read answers an error.
    fake.Find(kUser, kKey)->readOnly = true;
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, kKey, "name")));
}

TEST_F(RegistryModuleTest, WritesIntoExistingKeysOnly) {
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "empty", 1, std::string()), "Success!");
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "number", 1, std::int64_t{42}), "Success!");
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "path", 2, std::string("%windir%")), "Success!");
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "dword", 4, std::string(" 12 ")), "Success!");
    EXPECT_EQ(fake.Text(kUser, kKey, "empty"), std::string(1, '\0'));
    EXPECT_EQ(fake.Text(kUser, kKey, "number"), std::string("42\0", 3));
    EXPECT_EQ(fake.Find(kUser, kKey)->FindValue("path")->type, regtype::kExpandText);
    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "dword"), RegistryRead(std::int32_t{12}));

    // Numbers that are none or do not fit, and types it does not write, store nothing.
    const std::pair<std::uint16_t, RegistryData> refused[] = {
        {4, std::string("twelve")}, {4, std::int64_t{1} << 40}, {4, std::string("99999999999999999999")},
        {3, std::string("x")}};
    for (const auto& [type, data] : refused) {
        EXPECT_EQ(registry.SetRegistryValue(kUser, kKey, "refused", type, data), "Error!") << type;
    }
    EXPECT_EQ(fake.ValueNames(kUser, kKey).size(), 4u);
    EXPECT_EQ(registry.SetRegistryValue(kUser, kKey + "\\new", "v", 1, std::string("x")), "Error!");
    EXPECT_FALSE(fake.HasKey(kUser, kKey + "\\new")) << "a write never creates a key";
}

TEST_F(RegistryModuleTest, DeletesValuesAndKeysByThePlatformsAnswer) {
    fake.SetText(kUser, kKey, "v", "1");
    fake.Key(kUser, kKey + "\\leaf");
    fake.Key(kUser, kKey + "\\branch\\twig");
    EXPECT_EQ(registry.DeleteRegistryValue(kUser, kKey, "v"), "Success!");
    EXPECT_EQ(registry.DeleteRegistryValue(kUser, kKey, "v"), "Error!");
    EXPECT_EQ(registry.DeleteRegistryValue(kUser, kNowhere, "v"), "Error!");
    EXPECT_EQ(registry.DeleteRegistryKey(kUser, kKey, "leaf"), "Success!");
    EXPECT_FALSE(fake.HasKey(kUser, kKey + "\\leaf"));
    EXPECT_EQ(registry.DeleteRegistryKey(kUser, kKey, "branch"), "Error!") << "it has a subkey";
    EXPECT_EQ(registry.DeleteRegistryKey(kUser, kKey, ""), "Error!");
    EXPECT_TRUE(fake.HasKey(kUser, kKey));
}

TEST_F(RegistryModuleTest, ListingsAreTrimmedWholeOrAnError) {
    for (const std::string& path : {kKey, kNowhere}) {
        EXPECT_EQ(registry.EnumRegistryKeys(kUser, path), Names{"Error!"}) << "no subkeys: " << path;
        EXPECT_EQ(registry.EnumRegistryValues(kUser, path), Names{"Error!"}) << "no values: " << path;
    }
    fake.Key(kUser, kKey + "\\  spaced  ");
    fake.Key(kUser, kKey + "\\plain");
    for (const std::string& name : {std::string(" a "), std::string(), std::string(2000, 'n'), std::string("after")}) {
        fake.SetText(kUser, kKey, name, "1");
    }
    fake.Find(kUser, kKey)->readOnly = true;  // listings only read
    EXPECT_EQ(registry.EnumRegistryKeys(kUser, kKey), (Names{"spaced", "plain"}));
    EXPECT_EQ(registry.EnumRegistryValues(kUser, kKey), (Names{"a", ""})) << "a name that does not fit ends it";
    fake.Key(RegistryHive::Users, "S-1-5-18");
    EXPECT_EQ(registry.EnumRegistryKeys(RegistryHive::Users, ""), Names{"S-1-5-18"}) << "the hive itself";
}

}  // namespace
}  // namespace kestrum
