#include <gtest/gtest.h>

#include "engine/Banner.h"
#include "engine/RegistryHistory.h"
#include "engine/RunDriver.h"
#include "fakes/FakePlatform.h"
#include "registry/RegistryModule.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

using Names = std::vector<std::string>;
constexpr RegistryHive kUser = RegistryHive::CurrentUser;
constexpr RegistryHive kUsers = RegistryHive::Users;
const std::string kSid = "S-1-5-21-1004336348-1177238915-682003330-1003";
const std::string kTypedUrls = "software\\microsoft\\internet explorer\\typedurls";
const std::string kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const std::string kDocFind =
    "software\\microsoft\\windows\\currentversion\\explorer\\doc find spec mru";
const std::string kDialogs = "software\\microsoft\\windows\\currentversion\\explorer\\comdlg32\\";
const std::string kSearchBar =
    "software\\microsoft\\internet explorer\\explorer bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}";
const std::string kAcMru = "software\\microsoft\\search assistant\\acmru\\";
const std::string kReal = "Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\";
const Names kGone{"(no key)"};

// The recent-files lists, their values before and after; kBoth lists are in HKCU and the user's
// hive.
enum Where { kBoth, kCurrentUser, kMachine };
const struct List {
    Where where;
    std::string path;
    Names seeded, cleared;
    bool history = false;
} kLists[] = {
    {kBoth, kTypedUrls, {"url1", "url2"}, {}, true},  // the only list of the history flag
    {kBoth, kRunMru, {"a", "b", "MRUList"}, {"MRUList"}},
    {kBoth, kDialogs + "lastvisitedmru", {"a", "MRUList"}, {"MRUList"}},
    {kBoth, kDialogs + "OpenSaveMRU\\*", {"a", "MRUList"}, {"MRUList"}},
    {kBoth, kDialogs + "OpenSaveMRU\\txt", {"a", "MRUList"}, kGone},
    {kBoth, kDialogs + "OpenSaveMRU\\doc", {"a"}, kGone},
    {kBoth, kAcMru + "5603", {"000", "001"}, {}},
    {kBoth, kAcMru + "5647", {"000"}, {}},
    {kBoth, kSearchBar + "\\FilesNamedMRU", {"000", "MRUList"}, {"MRUList"}},
    {kBoth, kSearchBar + "\\ContainingTextMRU", {"000"}, {}},
    {kBoth, kSearchBar, {"keep"}, {"keep"}},
    {kBoth, kReal + "MostRecentClips1", {"a"}, kGone},
    {kBoth, kReal + "mostrecentclips2", {"a"}, kGone},
    {kBoth, kReal + "Volume", {"a"}, {"a"}},
    {kCurrentUser, "software\\microsoft\\mediaplayer\\player\\recentfilelist", {"File0"}, {}},
    {kMachine, "software\\apple computer, inc.\\quicktime\\recent movies", {"Movie 1"}, {}},
    {kCurrentUser, "software\\microsoft\\visual basic\\5.0\\recentfiles", {"File1"}, {}},
    {kCurrentUser, "software\\microsoft\\visual basic\\6.0\\recentfiles", {"File1"}, {}},
    {kCurrentUser,
     "software\\microsoft\\windows\\currentversion\\applets\\paint\\recent file list",
     {"File1"},
     {}},
    {kCurrentUser, "software\\nico mak computing\\winzip\\filemenu", {"File1"}, {}},
    {kCurrentUser, "software\\unrelated", {"mru-looking", "other"}, {"mru-looking", "other"}},
};

class RegistryHistoryTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    fakes::FakeRegistry& reg = fake.registry;
    KestrumModule module{fake.services()};

    void SetUp() override {
        module.Startup.IsWindowsNT = true;
        for (const std::string& key : {std::string(".DEFAULT"), kSid + "_Classes"})
            reg.Key(kUsers, key);
        for (const List& list : kLists) {
            Seed(list.where == kMachine ? RegistryHive::LocalMachine : kUser, list.path,
                 list.seeded);
            if (list.where == kBoth) {
                Seed(kUsers, kSid + "\\" + list.path, list.seeded);
            }
        }
    }
    void Seed(RegistryHive hive, const std::string& path, const Names& names) {
        for (const std::string& name : names)
            reg.SetText(hive, path, name, "entry " + name);
    }
    Names Values(RegistryHive hive, const std::string& path) {
        return reg.HasKey(hive, path) ? reg.ValueNames(hive, path) : kGone;
    }
    void Run(bool history, bool recent) {
        module.Run.Flags.DeleteHistory = history;
        module.Run.Flags.DeleteRecent = recent;
        ClearRegistryHistory(module.Context);
        EXPECT_EQ(reg.openKeys, 0);
    }
};

// History clears the typed addresses, recent files every other list.
TEST_F(RegistryHistoryTest, EachFlagClearsItsOwnListsOnly) {
    for (const auto& [history, recent] : {std::pair{false, false}, {true, false}, {false, true}}) {
        SCOPED_TRACE(std::to_string(history) + std::to_string(recent));
        fake.registry = fakes::FakeRegistry();
        SetUp();
        Run(history, recent);
        for (const List& list : kLists) {
            const Names& expected = (list.history ? history : recent) ? list.cleared : list.seeded;
            EXPECT_EQ(
                Values(list.where == kMachine ? RegistryHive::LocalMachine : kUser, list.path),
                expected)
                << list.path;
            EXPECT_TRUE(list.where != kBoth || Values(kUsers, kSid + "\\" + list.path) == expected)
                << list.path;
        }
        EXPECT_TRUE(!recent || reg.Text(kUser, kRunMru, "MRUList") == std::string(1, '\0'))
            << "order emptied";
    }
}

TEST_F(RegistryHistoryTest, WithoutAUserHiveOnlyHkcuIsCleared) {
    fake.registry = fakes::FakeRegistry();  // HKEY_USERS without subkeys lists as an error
    reg.SetText(kUser, kRunMru, "a", "x");
    Run(true, true);
    EXPECT_TRUE(reg.ValueNames(kUser, kRunMru).empty());
    for (const std::string& open : reg.opened)  // HKEY_USERS is only listed
        EXPECT_TRUE(open.rfind("80000003|", 0) != 0 || open == "80000003||read") << open;
}

TEST_F(RegistryHistoryTest, Windows98UsesTheDefaultHivesSearchList) {
    module.Startup.IsWindowsNT = false;
    Seed(kUser, kDocFind, {"a", "MRU"});
    Seed(kUsers, ".default\\" + kDocFind, {"a"});
    Run(false, true);
    EXPECT_EQ(Values(kUser, kDocFind), Names{"MRU"});
    EXPECT_TRUE(Values(kUsers, ".default\\" + kDocFind).empty());
    EXPECT_EQ(Values(kUser, kSearchBar + "\\FilesNamedMRU").size(), 2u)
        << "no search bar lists on 98";
    EXPECT_EQ(Values(kUser, kRunMru), Names{"MRUList"});
}

TEST_F(RegistryHistoryTest, CancelStopsTheStepAndTheRunEndsWithoutAnyMessage) {
    // Only the registry step runs; Cancel arrives while the run dialog's list is opened.
    module.Options.GeneralOptions = "00000000000000000000";
    module.Options.DeleteOptions = "10100000000000000000";
    reg.onOpen = [&](RegistryHive hive, const std::string& path) {
        module.Run.CancelRequested =
            module.Run.CancelRequested || (hive == kUser && path == kRunMru);
    };
    Banner banner(module.Context);
    banner.Show();
    RunCleaning(module.Context);
    EXPECT_TRUE(fake.ui.messages.empty()) << "neither the stopped message nor a report";
    EXPECT_TRUE(Values(kUser, kTypedUrls).empty());
    EXPECT_EQ(Values(kUser, kRunMru), (Names{"b", "MRUList"}))
        << "it stops after the entry in hand";
    EXPECT_EQ(Values(kUsers, kSid + "\\" + kRunMru).size(), 3u) << "nor any list after it";
}

const std::string kKey = "software\\kestrum test";
const std::string kNowhere = "software\\nowhere";

class RegistryModuleTest : public ::testing::Test {
  protected:
    fakes::FakeRegistry fake;
    RegistryModule registry{fake};

    void SetUp() override { fake.Key(kUser, kKey); }
    void TearDown() override { EXPECT_EQ(fake.openKeys, 0) << "every key is closed on every path"; }
};

TEST_F(RegistryModuleTest, ReadsTextWithItsTerminatorAndNumbersAndWritesTextIntoExistingKeysOnly) {
    fake.SetText(kUser, kKey, "name", "abc");
    fake.Key(kUser, kKey).Put({"count", regtype::kNumber, {}, -7});
    fake.Key(kUser, kKey).Put({"blob", regtype::kBinary, "\x01\x02"});
    fake.SetText(kUser, kKey, "expand", "%TEMP%", regtype::kExpandText);
    fake.SetText(kUser, kKey, "broken", "x");
    fake.Find(kUser, kKey)->FindValue("broken")->unreadable = true;

    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "name"),
              RegistryRead(std::string("abc\0", 4)));
    EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, "COUNT"), RegistryRead(std::int32_t{-7}));
    for (const char* name : {"blob", "expand", "broken"})
        EXPECT_EQ(registry.GetRegistryValue(kUser, kKey, name), RegistryRead()) << name;
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, kKey, "missing")));
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, kNowhere, "name")));
    // Every caller writes text and none reads the answer: an empty text stores its NUL alone, and
    // a write never creates a key.
    registry.SetRegistryValue(kUser, kKey, "empty", regtype::kText, std::string());
    EXPECT_EQ(fake.Text(kUser, kKey, "empty"), std::string(1, '\0'));
    registry.SetRegistryValue(kUser, kKey + "\\new", "v", regtype::kText, std::string("x"));
    EXPECT_FALSE(fake.HasKey(kUser, kKey + "\\new"));
    // Reads open with full access, so a key the user may only read answers an error.
    fake.Find(kUser, kKey)->readOnly = true;
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, kKey, "name")));
}

TEST_F(RegistryModuleTest, ListingsAreTrimmedWholeOrAnError) {
    for (const std::string& path : {kKey, kNowhere})  // nothing to list, or no key
        EXPECT_TRUE(IsRegistryError(registry.EnumRegistryKeys(kUser, path)) &&
                    IsRegistryError(registry.EnumRegistryValues(kUser, path)))
            << path;
    fake.Key(kUser, kKey + "\\  spaced  ");
    fake.Key(kUser, kKey + "\\plain");
    for (const std::string& name :
         {std::string(" a "), std::string(), std::string(2000, 'n'), std::string("after")})
        fake.SetText(kUser, kKey, name, "1");
    fake.Find(kUser, kKey)->readOnly = true;  // listings only read
    EXPECT_EQ(registry.EnumRegistryKeys(kUser, kKey), (Names{"spaced", "plain"}));
    EXPECT_EQ(registry.EnumRegistryValues(kUser, kKey), (Names{"a", ""}))
        << "a name that does not fit ends it";
}

}  // namespace
}  // namespace kestrum
