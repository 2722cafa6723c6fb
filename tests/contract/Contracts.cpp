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

TEST_F(RegistryContract, ValuesKeepTheirTypeAndAreReadWhole) {
    auto key = Open(root);
    ASSERT_NE(key, nullptr);
    const std::tuple<const char*, std::uint32_t, std::string> cases[] = {
        {"empty", regtype::kText, ""},
        {"expand", regtype::kExpandText, "%TEMP%\\x"},
        {"plain", regtype::kText,
         "Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC"},
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

// Keys open only where they are, list whole and verbatim, refuse changes through a read-only
// handle, delete only what is named, and fail cleanly once deleted while open.
TEST_F(RegistryContract, KeysOpenListAndDeleteOnlyWhatIsNamed) {
    for (const char* name : {"  spaced  ", "Alpha", "beta\\grandchild"}) {
        subject->MakeKey(root + "\\" + name);
    }
    for (const auto access : {RegistryAccess::Read, RegistryAccess::Full}) {
        EXPECT_NE(Open(root + "\\ALPHA", access), nullptr);
        EXPECT_EQ(Open(root + "\\absent", access), nullptr) << "nor was it made";
    }

    auto key = Open(root);
    auto reader = Open(root, RegistryAccess::Read);
    ASSERT_TRUE(key->WriteText("", regtype::kText, "default"));
    ASSERT_TRUE(key->WriteNumber(" n ", 1));
    EXPECT_EQ(Listing([&](std::uint32_t i) { return reader->SubkeyName(i, 256); }),
              (Names{"  spaced  ", "Alpha", "beta"}));
    EXPECT_EQ(Listing([&](std::uint32_t i) { return reader->ValueName(i, 256); }),
              (Names{"", " n "}));
    EXPECT_FALSE(reader->WriteText("", regtype::kText, "2"));
    EXPECT_FALSE(reader->WriteNumber(" n ", 2));
    EXPECT_FALSE(reader->DeleteValue(" n "));
    EXPECT_EQ(reader->ReadText(""), std::string("default\0", 8));
    EXPECT_TRUE(key->DeleteValue(" N "));
    EXPECT_FALSE(key->DeleteValue(" n ")) << "already gone";

    auto beta = Open(root + "\\beta");
    ASSERT_TRUE(beta->WriteText("twelve chars", regtype::kText, "x"));
    EXPECT_EQ(beta->ValueName(0, 13), "twelve chars") << "a name fits when it and its NUL do";
    EXPECT_FALSE(beta->ValueName(0, 12).has_value());

    auto alpha = Open(root + "\\alpha");
    ASSERT_TRUE(alpha->WriteText("v", regtype::kText, "1"));
    EXPECT_TRUE(key->DeleteSubkey("ALPHA"));
    EXPECT_FALSE(alpha->ReadText("v").has_value());
    EXPECT_FALSE(alpha->WriteText("v", regtype::kText, "2"));
    EXPECT_EQ(Open(root + "\\alpha"), nullptr) << "a write never brings the key back";
    EXPECT_FALSE(key->DeleteSubkey("spaced")) << "names are taken as they are";
    EXPECT_TRUE(key->DeleteSubkey("  spaced  "));
    EXPECT_FALSE(key->DeleteSubkey(""));
    EXPECT_NE(Open(root), nullptr) << "an empty subkey name never deletes the open key";
}

}  // namespace
void HoldsSettingsStoreContract(ISettingsStore& store, const std::string& app) {
    EXPECT_FALSE(store.Read(app, "Settings", "GeneralOptions").has_value()) << "no section";
    ASSERT_TRUE(store.Write(app, "Other", "GeneralOptions", "1"));
    for (const std::string& value :
         {std::string("0010"), std::string(), std::string("caf\xC3\xA9 \xE2\x82\xAC"),
          std::string(200000, '1')}) {
        SCOPED_TRACE(value.substr(0, 10));
        ASSERT_TRUE(store.Write(app, "Settings", "GeneralOptions", value));
        EXPECT_EQ(store.Read(app, "Settings", "GeneralOptions"), value) << "the last write wins";
    }
    EXPECT_FALSE(store.Read(app, "Settings", "Missing").has_value()) << "no value";
    EXPECT_EQ(store.Read(app, "Other", "GeneralOptions"), "1") << "sections stay apart";
}

}  // namespace kestrum::contract
