#include "contract/RegistryContract.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace kestrum::contract {
namespace {

using Names = std::vector<std::string>;

// Every name a listing gives from index 0 until its first gap.
template <typename NameAt>
Names Listing(NameAt nameAt) {
    Names names;
    for (std::uint32_t index = 0; index < 1000; ++index) {
        auto name = nameAt(index);
        if (!name) {
            break;
        }
        names.push_back(*name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_P(RegistryContract, OpensExistingKeysOnlyAndNeverMakesOne) {
    subject->MakeKey(root + "\\child");
    IRegistry& registry = subject->Registry();
    EXPECT_NE(registry.Open(RegistryHive::CurrentUser, root + "\\child", RegistryAccess::Read), nullptr);
    EXPECT_NE(registry.Open(RegistryHive::CurrentUser, root + "\\CHILD", RegistryAccess::Full), nullptr);
    for (const auto access : {RegistryAccess::Read, RegistryAccess::Full}) {
        EXPECT_EQ(registry.Open(RegistryHive::CurrentUser, root + "\\absent", access), nullptr);
        EXPECT_EQ(registry.Open(RegistryHive::CurrentUser, root + "\\absent\\deeper", access), nullptr);
    }
    EXPECT_FALSE(subject->HasKey(root + "\\absent"));

    // An empty path is the hive itself, whose first level holds the root's first component.
    auto hive = registry.Open(RegistryHive::CurrentUser, "", RegistryAccess::Read);
    ASSERT_NE(hive, nullptr);
    const Names top = Listing([&](std::uint32_t i) { return hive->SubkeyName(i, 256); });
    const std::string first = root.substr(0, root.find('\\'));
    EXPECT_TRUE(std::any_of(top.begin(), top.end(), [&](const std::string& name) {
        return name.size() == first.size() &&
               std::equal(name.begin(), name.end(), first.begin(),
                          [](char a, char b) { return std::tolower(a) == std::tolower(b); });
    })) << first;
}

TEST_P(RegistryContract, TextIsStoredWithOneNulAndReadWhole) {
    auto key = OpenRoot();
    ASSERT_NE(key, nullptr);
    const struct {
        const char* name;
        std::uint32_t type;
        std::string text;
    } cases[] = {
        {"plain", regtype::kText, "abc"},
        {"empty", regtype::kText, ""},
        {"expand", regtype::kExpandText, "%TEMP%\\x"},
        {"accents", regtype::kText, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC"},
        {"", regtype::kText, "the default value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(key->WriteText(c.name, c.type, c.text));
        EXPECT_EQ(key->ReadText(c.name), c.text + '\0');
        const auto info = key->QueryValueInfo(c.name);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->type, c.type);
        EXPECT_GT(info->sizeBytes, 0u) << "the NUL is stored, too";
        EXPECT_FALSE(key->ReadNumber(c.name).has_value());
    }
    // Names compare without regard to case, and a write replaces the value whatever its type.
    EXPECT_EQ(key->ReadText("PLAIN"), std::string("abc\0", 4));
    ASSERT_TRUE(key->WriteNumber("Plain", 5));
    EXPECT_FALSE(key->ReadText("plain").has_value());
    EXPECT_EQ(key->ReadNumber("plain"), 5);

    subject->PutUnterminatedText(root, "foreign", "xyz");
    EXPECT_EQ(key->ReadText("foreign"), "xyz") << "no NUL stored, none read, no letter lost";
}

TEST_P(RegistryContract, NumbersAndOtherTypes) {
    auto key = OpenRoot();
    ASSERT_NE(key, nullptr);
    for (const std::int32_t number : {0, -3, 2147483647, -2147483647 - 1}) {
        ASSERT_TRUE(key->WriteNumber("count", number));
        EXPECT_EQ(key->ReadNumber("COUNT"), number);
    }
    const auto info = key->QueryValueInfo("count");
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->type, regtype::kNumber);
    EXPECT_EQ(info->sizeBytes, 4u);
    EXPECT_FALSE(key->ReadText("count").has_value());

    subject->PutBinary(root, "blob");
    const auto blob = key->QueryValueInfo("blob");
    ASSERT_TRUE(blob.has_value());
    EXPECT_EQ(blob->type, regtype::kBinary);
    EXPECT_FALSE(key->ReadText("blob").has_value());
    EXPECT_FALSE(key->ReadNumber("blob").has_value());

    EXPECT_FALSE(key->QueryValueInfo("missing").has_value());
    EXPECT_FALSE(key->ReadText("missing").has_value());
    EXPECT_FALSE(key->ReadNumber("missing").has_value());
}

TEST_P(RegistryContract, DeletesValuesAndLeafKeysButNeverTheOpenKey) {
    subject->MakeKey(root + "\\leaf");
    subject->MakeKey(root + "\\  spaced  ");
    auto key = OpenRoot();
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->WriteText("v", regtype::kText, "1"));
    EXPECT_TRUE(key->DeleteValue("V"));
    EXPECT_FALSE(key->DeleteValue("v")) << "already gone";
    EXPECT_FALSE(key->QueryValueInfo("v").has_value());

    EXPECT_TRUE(key->DeleteSubkey("LEAF"));
    EXPECT_FALSE(subject->HasKey(root + "\\leaf"));
    EXPECT_FALSE(key->DeleteSubkey("leaf"));
    EXPECT_FALSE(key->DeleteSubkey("spaced")) << "names are taken as they are";
    EXPECT_TRUE(key->DeleteSubkey("  spaced  "));
    EXPECT_FALSE(key->DeleteSubkey(""));
    EXPECT_TRUE(subject->HasKey(root)) << "an empty subkey name never deletes the open key";
}

TEST_P(RegistryContract, KeysOpenedForReadingRefuseChanges) {
    {
        auto writable = OpenRoot();
        ASSERT_NE(writable, nullptr);
        ASSERT_TRUE(writable->WriteText("v", regtype::kText, "1"));
    }
    auto key = OpenRoot(RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadText("v"), std::string("1\0", 2));
    EXPECT_FALSE(key->WriteText("v", regtype::kText, "2"));
    EXPECT_FALSE(key->WriteNumber("n", 2));
    EXPECT_FALSE(key->DeleteValue("v"));
    EXPECT_EQ(key->ReadText("v"), std::string("1\0", 2));
    // Deleting a subkey takes rights on the subkey, not on this handle: no promise either way.

    if (!subject->MakeReadOnly(root)) {
        GTEST_SKIP() << "this registry cannot refuse the user full access";
    }
    EXPECT_EQ(OpenRoot(RegistryAccess::Full), nullptr);
    EXPECT_NE(OpenRoot(RegistryAccess::Read), nullptr);
}

TEST_P(RegistryContract, ListingsAreWholeVerbatimAndBoundedByTheBuffer) {
    const Names subkeys{"  spaced  ", "Alpha", "beta"};
    for (const auto& name : subkeys) {
        subject->MakeKey(root + "\\" + name);
    }
    subject->MakeKey(root + "\\beta\\grandchild");
    auto key = OpenRoot(RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_FALSE(key->ValueName(0, 256).has_value()) << "no values yet";
    {
        auto writable = OpenRoot();
        ASSERT_TRUE(writable->WriteText("", regtype::kText, "default"));
        ASSERT_TRUE(writable->WriteNumber(" n ", 1));
        ASSERT_TRUE(writable->WriteText("twelve chars", regtype::kText, "x"));
    }
    EXPECT_EQ(Listing([&](std::uint32_t i) { return key->SubkeyName(i, 256); }), subkeys);
    EXPECT_EQ(Listing([&](std::uint32_t i) { return key->ValueName(i, 256); }),
              (Names{"", " n ", "twelve chars"}));
    EXPECT_FALSE(key->SubkeyName(3, 256).has_value()) << "past the end";
    EXPECT_FALSE(key->ValueName(3, 256).has_value());

    // A name fits when it and its NUL do.
    const Names fitting = Listing([&](std::uint32_t i) { return key->ValueName(i, 13); });
    EXPECT_TRUE(std::find(fitting.begin(), fitting.end(), "twelve chars") != fitting.end());
    bool refused = false;
    for (std::uint32_t i = 0; i < 3; ++i) {
        const auto wide = key->ValueName(i, 256);
        if (wide == "twelve chars") {
            refused = !key->ValueName(i, 12).has_value();
        }
    }
    EXPECT_TRUE(refused) << "no room for the NUL";
}

TEST_P(RegistryContract, AKeyDeletedWhileOpenFailsCleanly) {
    subject->MakeKey(root + "\\doomed");
    auto doomed = subject->Registry().Open(RegistryHive::CurrentUser, root + "\\doomed",
                                           RegistryAccess::Full);
    ASSERT_NE(doomed, nullptr);
    ASSERT_TRUE(doomed->WriteText("v", regtype::kText, "1"));
    ASSERT_TRUE(doomed->DeleteValue("v"));
    auto parent = OpenRoot();
    ASSERT_TRUE(parent->DeleteSubkey("doomed"));

    EXPECT_FALSE(doomed->ReadText("v").has_value());
    EXPECT_FALSE(doomed->QueryValueInfo("v").has_value());
    EXPECT_FALSE(doomed->WriteText("v", regtype::kText, "2"));
    EXPECT_FALSE(doomed->SubkeyName(0, 256).has_value());
    EXPECT_FALSE(subject->HasKey(root + "\\doomed")) << "a write never brings the key back";
}

}  // namespace
}  // namespace kestrum::contract
