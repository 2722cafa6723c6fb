#include <gtest/gtest.h>

#include "engine/Banner.h"
#include "engine/RegistryHistory.h"
#include "engine/RunDriver.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
constexpr RegistryHive kUsers = RegistryHive::Users;
const std::string kSid = "S-1-5-21-1004336348-1177238915-682003330-1003";

const std::string kTypedUrls = "software\\microsoft\\internet explorer\\typedurls";
const std::string kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const std::string kLastVisited = "software\\microsoft\\windows\\currentversion\\explorer\\comdlg32\\lastvisitedmru";
const std::string kOpenSaved = "software\\microsoft\\windows\\currentversion\\explorer\\comdlg32\\OpenSaveMRU";
const std::string kAcMru = "software\\microsoft\\search assistant\\acmru";
const std::string kSearchBar =
    "software\\microsoft\\internet explorer\\explorer bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}";
const std::string kDocFind = "software\\microsoft\\windows\\currentversion\\explorer\\doc find spec mru";
const std::string kMedia = "software\\microsoft\\mediaplayer\\player\\recentfilelist";
const std::string kReal = "Software\\RealNetworks\\RealPlayer\\6.0\\Preferences";
const std::string kMovies = "software\\apple computer, inc.\\quicktime\\recent movies";
const std::vector<std::string> kLastLists{
    "software\\microsoft\\visual basic\\5.0\\recentfiles",
    "software\\microsoft\\visual basic\\6.0\\recentfiles",
    "software\\microsoft\\windows\\currentversion\\applets\\paint\\recent file list",
    "software\\nico mak computing\\winzip\\filemenu",
};
const std::vector<std::string> kOrderOnly{"MRUList"};

TEST(UserHiveKey, IsTheLongestNameWithoutItsClassesSuffix) {
    EXPECT_EQ(UserHiveKey({".DEFAULT", "S-1-5-18", kSid, kSid + "_Classes"}), kSid);
    EXPECT_EQ(UserHiveKey({".DEFAULT", kSid + "_CLASSES", "S-1-5-18"}), kSid);
    EXPECT_EQ(UserHiveKey({".DEFAULT", "alice"}), ".DEFAULT") << "the first of equal lengths";
    EXPECT_EQ(UserHiveKey({"Error!"}), "");
    EXPECT_EQ(UserHiveKey({"_classes"}), "");
}

class RegistryHistoryTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    fakes::FakeRegistry& reg = fake.registry;
    KestrumModule module{fake.services()};

    void SetUp() override {
        module.Startup.IsWindowsNT = true;
        reg.Key(kUsers, ".DEFAULT");
        reg.Key(kUsers, "S-1-5-18");
        reg.Key(kUsers, kSid);
        reg.Key(kUsers, kSid + "_Classes");
        for (const std::string& hive : {std::string(), kSid + "\\"}) {
            const RegistryHive root = hive.empty() ? kUser : kUsers;
            SeedList(root, hive + kTypedUrls, {"url1", "url2"});
            SeedList(root, hive + kRunMru, {"a", "b", "MRUList"});
            SeedList(root, hive + kLastVisited, {"a", "MRUList"});
            SeedList(root, hive + kOpenSaved + "\\*", {"a", "MRUList"});
            SeedList(root, hive + kOpenSaved + "\\txt", {"a", "MRUList"});
            SeedList(root, hive + kOpenSaved + "\\doc", {"a"});
            SeedList(root, hive + kAcMru + "\\5603", {"000", "001"});
            SeedList(root, hive + kAcMru + "\\5647", {"000"});
            SeedList(root, hive + kSearchBar + "\\FilesNamedMRU", {"000", "MRUList"});
            SeedList(root, hive + kSearchBar + "\\ContainingTextMRU", {"000"});
            reg.Key(root, hive + kReal + "\\MostRecentClips1");
            reg.Key(root, hive + kReal + "\\mostrecentclips2");
            reg.Key(root, hive + kReal + "\\Volume");
            SeedList(root, hive + kSearchBar, {"keep"});
        }
        SeedList(kUser, kMedia, {"File0"});
        SeedList(kMachine, kMovies, {"Movie 1"});
        for (const std::string& path : kLastLists) {
            SeedList(kUser, path, {"File1"});
        }
        SeedList(kUser, "software\\unrelated", {"mru-looking", "other"});
    }

    void SeedList(RegistryHive hive, const std::string& path, const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            reg.SetText(hive, path, name, "entry " + name);
        }
    }
    std::vector<std::string> Values(RegistryHive hive, const std::string& path) {
        return reg.ValueNames(hive, path);
    }
    std::string User(const std::string& path) { return kSid + "\\" + path; }

    void Run(bool history, bool recent) {
        module.Run.Flags.DeleteHistory = history;
        module.Run.Flags.DeleteRecent = recent;
        ClearRegistryHistory(module.Context);
        EXPECT_EQ(reg.openKeys, 0);
    }
    void ExpectRecentListsCleared(bool cleared) {
        const auto expect = [&](const std::vector<std::string>& now, const std::vector<std::string>& whenCleared,
                                const std::string& what) {
            if (cleared) {
                EXPECT_EQ(now, whenCleared) << what;
            } else {
                EXPECT_NE(now, whenCleared) << what;
            }
        };
        for (const std::string& hive : {std::string(), kSid + "\\"}) {
            const RegistryHive root = hive.empty() ? kUser : kUsers;
            expect(Values(root, hive + kRunMru), kOrderOnly, hive + "run dialog");
            expect(Values(root, hive + kLastVisited), kOrderOnly, hive + "last visited");
            expect(Values(root, hive + kOpenSaved + "\\*"), kOrderOnly, hive + "all files");
            expect(reg.SubkeyNames(root, hive + kOpenSaved), {"*"}, hive + "file types");
            expect(Values(root, hive + kAcMru + "\\5603"), {}, hive + "search assistant");
            expect(Values(root, hive + kAcMru + "\\5647"), {}, hive + "search assistant");
            expect(Values(root, hive + kSearchBar + "\\FilesNamedMRU"), kOrderOnly, hive + "files named");
            expect(Values(root, hive + kSearchBar + "\\ContainingTextMRU"), {}, hive + "containing text");
            expect(reg.SubkeyNames(root, hive + kReal), {"Volume"}, hive + "streaming clips");
            EXPECT_EQ(Values(root, hive + kSearchBar), std::vector<std::string>{"keep"});
        }
        expect(Values(kUser, kMedia), {}, "media player");
        expect(Values(kMachine, kMovies), {}, "movies");
        for (const std::string& path : kLastLists) {
            expect(Values(kUser, path), {}, path);
        }
        EXPECT_EQ(Values(kUser, "software\\unrelated").size(), 2u);
    }
};

TEST_F(RegistryHistoryTest, AnMruListKeepsItsOrderValueEmptied) {
    ClearMruKey(module.Context, kUser, kRunMru);
    EXPECT_EQ(Values(kUser, kRunMru), kOrderOnly);
    EXPECT_EQ(reg.Text(kUser, kRunMru, "MRUList"), std::string(1, '\0'));
    EXPECT_TRUE(reg.HasKey(kUser, kRunMru));
    ClearMruKey(module.Context, kUser, "software\\missing");  // passes over a missing key
}

// History clears the typed addresses in both hives, recent files every other list; neither
// flag looks at nothing but the hive search.
TEST_F(RegistryHistoryTest, EachFlagClearsItsOwnListsOnly) {
    for (const auto& [history, recent] : {std::pair{false, false}, {true, false}, {false, true},
                                          {true, true}}) {
        SCOPED_TRACE(std::to_string(history) + std::to_string(recent));
        SetUp();
        reg.opened.clear();
        Run(history, recent);
        EXPECT_EQ(Values(kUser, kTypedUrls).empty(), history);
        EXPECT_EQ(Values(kUsers, User(kTypedUrls)).empty(), history);
        ExpectRecentListsCleared(recent);
        if (!history && !recent) {
            EXPECT_EQ(reg.opened, std::vector<std::string>{"80000003||read"});
        }
    }
}

TEST_F(RegistryHistoryTest, WithoutAUserHiveOnlyHkcuIsCleared) {
    // HKEY_USERS without subkeys lists as an error.
    fakes::FakePlatform bare;
    KestrumModule alone(bare.services());
    alone.Startup.IsWindowsNT = true;
    bare.registry.SetText(kUser, kRunMru, "a", "x");
    alone.Run.Flags.DeleteHistory = alone.Run.Flags.DeleteRecent = true;
    ClearRegistryHistory(alone.Context);
    EXPECT_TRUE(bare.registry.ValueNames(kUser, kRunMru).empty());
    for (const std::string& open : bare.registry.opened) {
        EXPECT_NE(open.rfind("80000003|\\", 0), 0u) << open;
    }
}

TEST_F(RegistryHistoryTest, Windows98UsesTheDefaultHivesSearchList) {
    module.Startup.IsWindowsNT = false;
    SeedList(kUser, kDocFind, {"a", "MRU"});
    SeedList(kUsers, ".default\\" + kDocFind, {"a"});
    Run(false, true);
    EXPECT_EQ(Values(kUser, kDocFind), std::vector<std::string>{"MRU"});
    EXPECT_TRUE(Values(kUsers, ".default\\" + kDocFind).empty());
    EXPECT_EQ(Values(kUser, kAcMru + "\\5603").size(), 2u) << "no search assistant on 98";
    EXPECT_EQ(Values(kUser, kSearchBar + "\\FilesNamedMRU").size(), 2u);
    EXPECT_EQ(Values(kUser, kRunMru), kOrderOnly);
}

TEST_F(RegistryHistoryTest, CancelStopsTheStepAndTheRunEndsWithoutAnyMessage) {
    // Only the registry step runs; Cancel arrives while the run dialog's list is opened.
    module.Options.GeneralOptions = "00000000000000000000";
    module.Options.DeleteOptions = "10100000000000000000";
    reg.onOpen = [&](RegistryHive hive, const std::string& path) {
        if (hive == kUser && path == kRunMru) {
            module.Run.CancelRequested = true;
        }
    };
    Banner banner(module.Context);
    banner.Show();
    RunCleaning(module.Context);
    EXPECT_TRUE(module.Run.CancelRequested);
    EXPECT_TRUE(fake.ui.messages.empty()) << "neither the stopped message nor a report";
    EXPECT_TRUE(Values(kUser, kTypedUrls).empty());
    EXPECT_EQ(Values(kUser, kRunMru), (std::vector<std::string>{"b", "MRUList"}))
        << "the list stops after the entry in hand";
    EXPECT_EQ(Values(kUsers, User(kRunMru)).size(), 3u);
    EXPECT_EQ(Values(kUser, kLastVisited).size(), 2u);
    const auto& captions = static_cast<fakes::FakeLabel&>(banner.Label2()).history;
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions.back().second, " Final clean up");
}

}  // namespace
}  // namespace kestrum
