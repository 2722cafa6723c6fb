#include <gtest/gtest.h>

#include "engine/Completion.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"
#include "ui/options/MainWindow.h"

namespace kestrum {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
const std::string kRun = "software\\microsoft\\windows\\currentversion\\run";
const std::string kRunServices = "software\\microsoft\\windows\\currentversion\\runservices";
const std::string kCommand = "c:\\program files\\kestrum\\kestrum.exe /startup";
using Exits = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
const Exits kReboot{{6u, 0xFFFFFFFFu}};

class CompletionTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    fakes::FakeRegistry& reg = fake.registry;
    KestrumModule module{fake.services()};

    void SetUp() override {
        module.IsWindowsNT = true;
        module.StartupCommand = kCommand;
        for (RegistryHive hive : {kUser, kMachine}) {
            for (const std::string& key : {kRun, kRun + "once", kRunServices, kRunServices + "once"}) {
                reg.Key(hive, key);
            }
        }
    }

    void AnswerReboot(MessageAnswer answer) {
        module.RebootAdvised = true;
        fake.ui.answers.push_back(answer);
        CompleteRun(module);
    }
    std::optional<std::string> Entry(RegistryHive hive, const std::string& key) {
        return reg.Text(hive, key, "Kestrum");
    }
    const std::optional<std::string> kStored = kCommand + '\0';
};

TEST_F(CompletionTest, EverythingRemovedOnlyReportsSuccess) {
    CompleteRun(module);
    ASSERT_EQ(fake.ui.messages.size(), 1u);
    const auto& shown = fake.ui.messages[0];
    EXPECT_EQ(shown.text, "The Kestrum process was successfully completed");
    EXPECT_EQ(shown.title, " Kestrum");
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    EXPECT_EQ(shown.icon, MessageIcon::None);
    EXPECT_TRUE(reg.opened.empty());
    EXPECT_TRUE(fake.power.exits.empty());
}

TEST_F(CompletionTest, ASurvivorOffersARebootThatNoDeclinesQuietly) {
    AnswerReboot(MessageAnswer::No);
    ASSERT_EQ(fake.ui.messages.size(), 1u);
    const auto& shown = fake.ui.messages[0];
    EXPECT_EQ(shown.text,
              "   For a more complete cleaning,\r\nyou should reboot your computer.\r\n\r\n"
              "     Do you wish to reboot now?");
    EXPECT_EQ(shown.title, " Reboot");
    EXPECT_EQ(shown.buttons, MessageButtons::YesNo);
    EXPECT_EQ(shown.icon, MessageIcon::Question);
    EXPECT_TRUE(reg.opened.empty());
    EXPECT_TRUE(fake.power.exits.empty());
}

TEST_F(CompletionTest, YesOnNtArrangesOneSilentRunWhereNeededAndReboots) {
    // No start-up option: a one-time entry for the user.
    AnswerReboot(MessageAnswer::Yes);
    EXPECT_EQ(Entry(kUser, kRun + "once"), kStored);
    EXPECT_FALSE(Entry(kMachine, kRun + "once"));
    EXPECT_EQ(fake.power.exits, kReboot);
    EXPECT_EQ(fake.power.enabled, std::vector<std::uint64_t>{fakes::FakePower::kShutdownLuid});
    EXPECT_EQ(fake.power.tokenAccess, 0x28u);
    EXPECT_EQ(fake.power.openTokens, 0) << "the token is closed";
    EXPECT_EQ(fake.ui.messages.size(), 1u) << "no success message follows";
}

TEST_F(CompletionTest, YesOnNtKeepsAUserStartupEntryInAnyCapitals) {
    reg.SetText(kUser, kRun, "Kestrum", "C:\\Program Files\\Kestrum\\KESTRUM.EXE /startup");
    AnswerReboot(MessageAnswer::Yes);
    EXPECT_FALSE(Entry(kUser, kRun + "once"));
    EXPECT_EQ(fake.power.exits, kReboot);
}

TEST_F(CompletionTest, YesOnNtMovesAMachineStartupEntryToTheUser) {
    reg.SetText(kMachine, kRun, "Kestrum", kCommand);
    AnswerReboot(MessageAnswer::Yes);
    EXPECT_FALSE(Entry(kMachine, kRun));
    EXPECT_EQ(Entry(kUser, kRun), kStored);
    EXPECT_FALSE(Entry(kUser, kRun + "once"));
    EXPECT_EQ(fake.power.exits, kReboot);
}

TEST_F(CompletionTest, YesOnNtWithAnotherCommandStoredStillArrangesTheRun) {
    reg.SetText(kUser, kRun, "Kestrum", "c:\\old place\\kestrum.exe /startup");
    AnswerReboot(MessageAnswer::Yes);
    EXPECT_EQ(Entry(kUser, kRun + "once"), kStored);
}

TEST_F(CompletionTest, YesOnNtWithoutARunOnceKeyStillReboots) {
    reg.Find(kUser, "software\\microsoft\\windows\\currentversion")->subkeys.clear();
    AnswerReboot(MessageAnswer::Yes);
    EXPECT_FALSE(reg.HasKey(kUser, kRun + "once")) << "a write never creates the key";
    EXPECT_EQ(fake.power.exits, kReboot);
}

TEST_F(CompletionTest, YesOnWindows98UsesTheMachinesServicesKeysWithoutPrivileges) {
    module.IsWindowsNT = false;
    AnswerReboot(MessageAnswer::Yes);
    EXPECT_EQ(Entry(kMachine, kRunServices + "once"), kStored);
    EXPECT_FALSE(Entry(kUser, kRunServices + "once"));
    EXPECT_TRUE(fake.power.privilegeLookups.empty());
    EXPECT_EQ(fake.power.exits, kReboot);

    // A saved start-up entry stays where it is and nothing more is written.
    reg.Find(kMachine, kRunServices + "once")->values.clear();
    reg.SetText(kMachine, kRunServices, "Kestrum", kCommand);
    AnswerReboot(MessageAnswer::Yes);
    EXPECT_EQ(Entry(kMachine, kRunServices), kStored);
    EXPECT_FALSE(Entry(kMachine, kRunServices + "once"));
}

TEST_F(CompletionTest, ShutdownRefusesFlagsOutsideTheRangeWithoutAskingThePlatform) {
    for (std::int32_t flags : {32, -1}) {
        EXPECT_FALSE(ShutdownSystem(module, flags));
        ASSERT_TRUE(module.LastError);
        EXPECT_EQ(module.LastError->number, 0x8004062Fu);
        EXPECT_EQ(module.LastError->source, "Kestrum.mShutDown");
        EXPECT_EQ(module.LastError->text, "Invalid parameter to ShutdownSystem: " + std::to_string(flags));
    }
    EXPECT_TRUE(fake.power.exits.empty());
    EXPECT_TRUE(fake.power.privilegeLookups.empty());
}

TEST_F(CompletionTest, ShutdownFailuresAreRecordedWithTheSystemsText) {
    fake.power.exitAccepted = false;
    EXPECT_FALSE(ShutdownSystem(module, 6));
    ASSERT_TRUE(module.LastError);
    EXPECT_EQ(module.LastError->number, 0x8004062Bu);
    EXPECT_EQ(module.LastError->text, "ShutdownSystem failed: Access is denied.\r\n");
    EXPECT_EQ(fake.power.messageBuffers, std::vector<std::size_t>{255});

    const std::string notPermitted =
        "Can't enable shutdown: You do not have the privileges to shutdown this system. "
        "[Access is denied.\r\n]";
    struct Case {
        bool fakes::FakePower::*failing;
        std::uint32_t number;
        std::string text;
    };
    const Case cases[] = {
        {&fakes::FakePower::privilegeKnown, 0x8004062C,
         "Can't enable shutdown: Can't find the SE_SHUTDOWN_NAME privilege value. [Access is denied.\r\n]"},
        {&fakes::FakePower::processKnown, 0x8004062D,
         "Can't enable shutdown: Can't determine the current process. [Access is denied.\r\n]"},
        {&fakes::FakePower::tokenOpens, 0x8004062E, notPermitted},
        {&fakes::FakePower::privilegeEnables, 0x8004062E, notPermitted},
    };
    for (const Case& c : cases) {
        fakes::FakePlatform other;
        KestrumModule nt(other.services());
        nt.IsWindowsNT = true;
        other.power.*c.failing = false;
        EXPECT_FALSE(ShutdownSystem(nt, 6)) << c.text;
        EXPECT_TRUE(other.power.exits.empty()) << c.text;
        ASSERT_TRUE(nt.LastError);
        EXPECT_EQ(nt.LastError->number, c.number);
        EXPECT_EQ(nt.LastError->text, c.text);
        EXPECT_EQ(other.power.openTokens, 0);
    }
}

TEST_F(CompletionTest, TheOptionsWindowReportsAfterARunThatWasNotCancelled) {
    module.GeneralOptions = "00000000000000000000";
    module.DeleteOptions = "00000000000000000000";
    MainWindow window(module);
    window.Show();
    fake.ui.Input(fakes::ClickOn{"Options", "runButton"});
    ASSERT_EQ(fake.ui.messages.size(), 1u);
    EXPECT_EQ(fake.ui.messages[0].text, "The Kestrum process was successfully completed");
    EXPECT_TRUE(window.window().Visible());

    // Cancel pressed during the first second: the stopped message and no report.
    fake.ui.Schedule(500, fakes::ClickOn{"Banner", "cancelButton"});
    fake.ui.Input(fakes::ClickOn{"Options", "runButton"});
    ASSERT_EQ(fake.ui.messages.size(), 2u);
    EXPECT_EQ(fake.ui.messages[1].text, "The Kestrum process was successfully stopped");
}

}  // namespace
}  // namespace kestrum
