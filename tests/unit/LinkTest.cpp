// A run reaches nothing through a link: neither a registry link planted in a history list nor
// another hard link to a file that a wipe would overwrite.
#include <gtest/gtest.h>

#include "engine/RegistryHistory.h"
#include "engine/Removal.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
const std::string kDialogs = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";
const std::string kPrecious = "Software\\Precious";
const std::string kMediaList = "software\\microsoft\\mediaplayer\\player\\recentfilelist";

class LinkTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    fakes::FakeRegistry& reg = fake.registry;
    fakes::FakeFileSystem& fs = fake.files;
    KestrumModule module{fake.services()};
};

// Each kind of list with a link at its own key, at a subkey, or on the way to it. The target,
// machine-wide for some, stays whole; a link goes only where the step deletes that subkey, and
// then alone. A target the step would delete has no subkey, which would shield it.
TEST_F(LinkTest, HistoryListsNeverReachThroughARegistryLink) {
    const struct {
        std::string link;
        RegistryHive target;
        bool linkRemains;
    } cases[] = {
        {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", kUser, true},
        {"software\\microsoft\\internet explorer\\typedurls", kMachine, true},
        {kDialogs + "\\OpenSaveMRU", kUser, true},
        {kDialogs + "\\OpenSaveMRU\\txt", kUser, false},
        {kDialogs + "\\OpenSaveMRU\\*", kMachine, true},
        {kDialogs, kMachine, true},
        {"software\\microsoft\\search assistant\\acmru\\5603", kMachine, true},
        {"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips1", kUser, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        reg = fakes::FakeRegistry();
        reg.SetText(c.target, kPrecious, "keep", "value");
        if (c.linkRemains) {
            reg.SetText(c.target, kPrecious + "\\child", "keep", "value");
        }
        reg.Link(kUser, c.link, c.target, kPrecious);
        reg.SetText(kUser, kMediaList, "File0", "list entry");
        module.Startup.IsWindowsNT = true;
        module.Run.Flags.DeleteHistory = module.Run.Flags.DeleteRecent = true;

        ClearRegistryHistory(module.Context);

        EXPECT_EQ(reg.ValueNames(c.target, kPrecious), std::vector<std::string>{"keep"});
        EXPECT_TRUE(!c.linkRemains || reg.HasKey(c.target, kPrecious + "\\child"));
        EXPECT_EQ(reg.HasKey(kUser, c.link), c.linkRemains);
        EXPECT_TRUE(reg.ValueNames(kUser, kMediaList).empty()) << "other lists are cleaned as ever";
    }
}

// A wiped name whose data has another name is deleted unwritten, as is a locked index file's;
// a file of one name is wiped as ever.
TEST_F(LinkTest, AWipeNeverWritesDataThatHasAnotherName) {
    fs.AddFile("C:\\docs\\report.doc", "precious");
    fs.AddHardLink("C:\\temp\\copy.tmp", "C:\\docs\\report.doc");
    fs.AddHardLink("C:\\temp\\index.dat", "C:\\docs\\report.doc");
    fs.AddFile("C:\\temp\\alone.tmp", "junk");
    module.Run.Flags.WipeFiles = true;

    DeleteOneFile(module.Context, "C:\\temp\\copy.tmp");
    OverwriteFile(module.Context, "C:\\temp\\index.dat");
    DeleteOneFile(module.Context, "C:\\temp\\alone.tmp");

    EXPECT_EQ(fs.Bytes("C:\\docs\\report.doc"), "precious");
    EXPECT_FALSE(fs.Exists("C:\\temp\\copy.tmp"));
    EXPECT_FALSE(fs.Exists("C:\\temp\\alone.tmp"));
    ASSERT_EQ(fs.flushedPasses.size(), 3u) << "the single-named file alone, three passes";
    EXPECT_EQ(fs.flushedPasses[2].second, "\xAA\xAA\xAA\xAA");
}

}  // namespace
}  // namespace kestrum
