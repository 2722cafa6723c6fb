#include "contract/Contracts.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace kestrum::contract {
namespace {

using Names = std::vector<std::string>;

// Every name a listing gives from index 0 until its first gap, sorted.
template <typename NameAt>
Names Listing(NameAt nameAt) {
    Names names;
    for (std::uint32_t index = 0; auto name = nameAt(index); ++index) {
        names.push_back(*name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(RegistryContract, OpensExistingKeysOnlyAndNeverMakesOne) {
    subject->MakeKey(root + "\\child");
    EXPECT_NE(Open(root + "\\CHILD", RegistryAccess::Read), nullptr);
    for (const auto access : {RegistryAccess::Read, RegistryAccess::Full}) {
        EXPECT_EQ(Open(root + "\\absent\\deeper", access), nullptr);
        EXPECT_EQ(Open(root + "\\absent", access), nullptr) << "nor was it made";
    }
    // An empty path is the hive itself, whose first level holds the root's first component.
    auto hive = Open("", RegistryAccess::Read);
    ASSERT_NE(hive, nullptr);
    const Names top = Listing([&](std::uint32_t i) { return hive->SubkeyName(i, 256); });
    EXPECT_NE(std::find(top.begin(), top.end(), "Software"), top.end());
}

TEST_F(RegistryContract, ValuesKeepTheirTypeAndAreReadWhole) {
    auto key = Open(root);
    ASSERT_NE(key, nullptr);
    const std::tuple<const char*, std::uint32_t, std::string> cases[] = {
        {"empty", regtype::kText, ""},
        {"expand", regtype::kExpandText, "%TEMP%\\x"},
        {"plain", regtype::kText, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC"},
        {"", regtype::kText, "the default value"},
    };
    for (const auto& [name, type, text] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(key->WriteText(name, type, text));
        EXPECT_EQ(key->ReadText(name), text + '\0');
        const auto info = key->QueryValueInfo(name).value_or(RegistryValueInfo{});
        EXPECT_EQ(info.type, type);
        EXPECT_GT(info.sizeBytes, 0u) << "the NUL is stored, too";
        EXPECT_FALSE(key->ReadNumber(name).has_value());
    }
    subject->PutForeign(root, "foreign", regtype::kText, "xyz");
    EXPECT_EQ(key->ReadText("foreign"), "xyz") << "no NUL stored, none read, no letter lost";

    // Names compare without regard to case, and a write replaces the value whatever its type.
    for (const std::int32_t number : {0, -3, 2147483647, -2147483647 - 1}) {
        ASSERT_TRUE(key->WriteNumber("Plain", number));
        EXPECT_EQ(key->ReadNumber("PLAIN"), number);
    }
    const auto info = key->QueryValueInfo("plain").value_or(RegistryValueInfo{});
    EXPECT_EQ(info.type, regtype::kNumber);
    EXPECT_EQ(info.sizeBytes, 4u);
    subject->PutForeign(root, "blob", regtype::kBinary, "\1\2\3");
    EXPECT_EQ(key->QueryValueInfo("blob").value_or(RegistryValueInfo{}).type, regtype::kBinary);
    EXPECT_FALSE(key->QueryValueInfo("missing").has_value());
    for (const char* name : {"plain", "blob", "missing"}) {
        EXPECT_FALSE(key->ReadText(name).has_value()) << name;
        EXPECT_EQ(key->ReadNumber(name).has_value(), name[0] == 'p') << name;
    }
}

// Deletions, read-only handles and a key deleted while still open.
TEST_F(RegistryContract, DeletesOnlyWhatIsNamedAndOnlyThroughAWritableKey) {
    subject->MakeKey(root + "\\leaf");
    subject->MakeKey(root + "\\  spaced  ");
    auto key = Open(root);
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->WriteText("v", regtype::kText, "1"));
    auto reader = Open(root, RegistryAccess::Read);
    EXPECT_FALSE(reader->WriteText("v", regtype::kText, "2"));
    EXPECT_FALSE(reader->WriteNumber("n", 2));
    EXPECT_FALSE(reader->DeleteValue("v"));
    EXPECT_EQ(reader->ReadText("v"), std::string("1\0", 2));
    EXPECT_TRUE(key->DeleteValue("V"));
    EXPECT_FALSE(key->DeleteValue("v")) << "already gone";

    auto leaf = Open(root + "\\leaf");
    ASSERT_TRUE(leaf->WriteText("v", regtype::kText, "1"));
    EXPECT_TRUE(key->DeleteSubkey("LEAF"));
    EXPECT_FALSE(leaf->ReadText("v").has_value());
    EXPECT_FALSE(leaf->QueryValueInfo("v").has_value());
    EXPECT_FALSE(leaf->WriteText("v", regtype::kText, "2"));
    EXPECT_FALSE(leaf->SubkeyName(0, 256).has_value());
    EXPECT_EQ(Open(root + "\\leaf"), nullptr) << "a write never brings the key back";
    EXPECT_FALSE(key->DeleteSubkey("spaced")) << "names are taken as they are";
    EXPECT_TRUE(key->DeleteSubkey("  spaced  "));
    EXPECT_FALSE(key->DeleteSubkey(""));
    EXPECT_NE(Open(root), nullptr) << "an empty subkey name never deletes the open key";
}

TEST_F(RegistryContract, ListingsAreWholeVerbatimAndBoundedByTheBuffer) {
    for (const char* name : {"  spaced  ", "Alpha", "beta\\grandchild"}) {
        subject->MakeKey(root + "\\" + name);
    }
    auto key = Open(root, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(Open(root)->WriteText("", regtype::kText, "default"));
    ASSERT_TRUE(Open(root)->WriteNumber(" n ", 1));
    EXPECT_EQ(Listing([&](std::uint32_t i) { return key->SubkeyName(i, 256); }),
              (Names{"  spaced  ", "Alpha", "beta"}));
    EXPECT_EQ(Listing([&](std::uint32_t i) { return key->ValueName(i, 256); }), (Names{"", " n "}));
    auto beta = Open(root + "\\beta");
    ASSERT_TRUE(beta->WriteText("twelve chars", regtype::kText, "x"));
    EXPECT_EQ(beta->ValueName(0, 13), "twelve chars") << "a name fits when it and its NUL do";
    EXPECT_FALSE(beta->ValueName(0, 12).has_value());
}

}  // namespace
}  // namespace kestrum::contract
