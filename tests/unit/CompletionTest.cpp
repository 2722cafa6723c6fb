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
const std::vector<std::uint32_t> kReboot{6u};

class CompletionTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    fakes::FakeRegistry& reg = fake.registry;
    KestrumModule module{fake.services()};

    void SetUp() override {
        module.Startup.IsWindowsNT = true;
        module.Startup.StartupCommand = kCommand;
        for (RegistryHive hive : {kUser, kMachine}) {
            for (const std::string& key : {kRun, kRun + "once", kRunServices, kRunServices + "once"}) {
                reg.Key(hive, key);
            }
        }
    }

    void AnswerReboot(MessageAnswer answer) {
        module.Run.RebootAdvised = true;
        fake.ui.answers.push_back(answer);
        CompleteRun(module.Context);
    }
    std::optional<std::string> Entry(RegistryHive hive, const std::string& key) {
        return reg.Text(hive, key, "Kestrum");
    }
    const std::optional<std::string> kStored = kCommand + '\0';
};

TEST_F(CompletionTest, EverythingRemovedOnlyReportsSuccess) {
    CompleteRun(module.Context);
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
    EXPECT_EQ(fake.power.privilegeRequests, 1);
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
    module.Startup.IsWindowsNT = false;
    AnswerReboot(MessageAnswer::Yes);
    EXPECT_EQ(Entry(kMachine, kRunServices + "once"), kStored);
    EXPECT_FALSE(Entry(kUser, kRunServices + "once"));
    EXPECT_TRUE(fake.power.privilegeRequests == 0);
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
        const ShutdownOutcome refused = ShutdownSystem(module.Context, flags);
        EXPECT_FALSE(refused.ok);
        ASSERT_TRUE(refused.error);
        EXPECT_EQ(refused.error->number, 0x8004062Fu);
        EXPECT_EQ(refused.error->source, "Kestrum.mShutDown");
        EXPECT_EQ(refused.error->text, "Invalid parameter to ShutdownSystem: " + std::to_string(flags));
    }
    EXPECT_TRUE(fake.power.exits.empty());
    EXPECT_TRUE(fake.power.privilegeRequests == 0);
}

TEST_F(CompletionTest, ShutdownFailuresAreRecordedWithTheSystemsText) {
    fake.power.exitAccepted = false;
    const ShutdownOutcome failed = ShutdownSystem(module.Context, 6);
    EXPECT_FALSE(failed.ok);
    ASSERT_TRUE(failed.error);
    EXPECT_EQ(failed.error->number, 0x8004062Bu);
    EXPECT_EQ(failed.error->text, "ShutdownSystem failed: Access is denied.\r\n");

    const std::string notPermitted =
        "Can't enable shutdown: You do not have the privileges to shutdown this system. "
        "[Access is denied.\r\n]";
    struct Case {
        PrivilegeStep failing;
        std::uint32_t number;
        std::string text;
    };
    const Case cases[] = {
        {PrivilegeStep::Lookup, 0x8004062C,
         "Can't enable shutdown: Can't find the SE_SHUTDOWN_NAME privilege value. [Access is denied.\r\n]"},
        {PrivilegeStep::Process, 0x8004062D,
         "Can't enable shutdown: Can't determine the current process. [Access is denied.\r\n]"},
        {PrivilegeStep::OpenToken, 0x8004062E, notPermitted},
        {PrivilegeStep::Enable, 0x8004062E, notPermitted},
    };
    for (const Case& c : cases) {
        fakes::FakePlatform other;
        KestrumModule nt(other.services());
        nt.Startup.IsWindowsNT = true;
        other.power.refusingStep = c.failing;
        const ShutdownOutcome refused = ShutdownSystem(nt.Context, 6);
        EXPECT_FALSE(refused.ok) << c.text;
        EXPECT_TRUE(other.power.exits.empty()) << c.text;
        ASSERT_TRUE(refused.error);
        EXPECT_EQ(refused.error->number, c.number);
        EXPECT_EQ(refused.error->text, c.text);
    }
}

TEST_F(CompletionTest, TheOptionsWindowReportsAfterARunThatWasNotCancelled) {
    module.Options.GeneralOptions = "00000000000000000000";
    module.Options.DeleteOptions = "00000000000000000000";
    MainWindow window(module.Context);
    window.Show();
    static_cast<fakes::FakePushButton&>(window.runButton()).Click();
    ASSERT_EQ(fake.ui.messages.size(), 1u);
    EXPECT_EQ(fake.ui.messages[0].text, "The Kestrum process was successfully completed");
    EXPECT_TRUE(window.window().Visible());

    // Cancel pressed during the first second: the stopped message and no report.
    fake.ui.Post([&] { module.Run.CancelRequested = true; }, 500);
    static_cast<fakes::FakePushButton&>(window.runButton()).Click();
    ASSERT_EQ(fake.ui.messages.size(), 2u);
    EXPECT_EQ(fake.ui.messages[1].text, "The Kestrum process was successfully stopped");
}

}  // namespace
}  // namespace kestrum
