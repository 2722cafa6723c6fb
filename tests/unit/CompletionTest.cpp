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
const std::string kServices = "software\\microsoft\\windows\\currentversion\\runservices";
const std::string kCommand = "c:\\program files\\kestrum\\kestrum.exe /startup";
const std::string kStored = kCommand + '\0';

// Every start-up key there, on the family chosen.
void Prepare(KestrumModule& module, fakes::FakeRegistry& reg, bool nt) {
    module.Startup.IsWindowsNT = nt;
    module.Startup.StartupCommand = kCommand;
    for (RegistryHive hive : {RegistryHive::CurrentUser, RegistryHive::LocalMachine}) {
        for (const std::string& key : {kRun, kRun + "once", kServices, kServices + "once"}) {
            reg.Key(hive, key);
        }
    }
}

class CompletionTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    fakes::FakeRegistry& reg = fake.registry;
    KestrumModule module{fake.services()};

    void SetUp() override { Prepare(module, reg, true); }
    void AnswerReboot(MessageAnswer answer) {
        module.Run.RebootAdvised = true;
        fake.ui.answers.push_back(answer);
        CompleteRun(module.Context);
    }
};

TEST_F(CompletionTest, SuccessOrADeclinedRebootLeaveRegistryAndSessionAlone) {
    CompleteRun(module.Context);
    AnswerReboot(MessageAnswer::No);
    ASSERT_EQ(fake.ui.messages.size(), 2u) << "no success message follows a No";
    const auto& done = fake.ui.messages[0];
    EXPECT_EQ(done.text, "The Kestrum process was successfully completed");
    EXPECT_EQ(done.title, " Kestrum");
    EXPECT_EQ(done.buttons, MessageButtons::Ok);
    const auto& offer = fake.ui.messages[1];
    EXPECT_EQ(offer.text,
              "   For a more complete cleaning,\r\nyou should reboot your computer.\r\n\r\n"
              "     Do you wish to reboot now?");
    EXPECT_EQ(offer.title, " Reboot");
    EXPECT_EQ(offer.buttons, MessageButtons::YesNo);
    EXPECT_EQ(offer.icon, MessageIcon::Question);
    EXPECT_TRUE(reg.opened.empty());
    EXPECT_TRUE(fake.power.exits.empty());
}

// Yes: the program is made to run once more at the next start, unless its start-up entry
// already does that, and the computer reboots.
TEST_F(CompletionTest, YesArrangesOneSilentRunWhereNeededAndReboots) {
    struct Entry {
        RegistryHive hive;
        std::string key;
        std::optional<std::string> text;
    };
    struct Case {
        const char* what;
        bool nt;
        std::vector<Entry> stored;
        std::vector<Entry> expected;
    };
    const Case cases[] = {
        {"NT, no entry", true, {}, {{kUser, kRun + "once", kStored}, {kMachine, kRun + "once", {}}}},
        {"NT, the user's entry in other capitals",
         true,
         {{kUser, kRun, "C:\\Program Files\\Kestrum\\KESTRUM.EXE /startup"}},
         {{kUser, kRun + "once", {}}}},
        {"NT, the machine's entry moves to the user",
         true,
         {{kMachine, kRun, kCommand}},
         {{kMachine, kRun, {}}, {kUser, kRun, kStored}, {kUser, kRun + "once", {}}}},
        {"NT, another program's command",
         true,
         {{kUser, kRun, "c:\\old place\\kestrum.exe /startup"}},
         {{kUser, kRun + "once", kStored}}},
        {"98, no entry",
         false,
         {},
         {{kMachine, kServices + "once", kStored}, {kUser, kServices + "once", {}}}},
        {"98, the machine's entry stays",
         false,
         {{kMachine, kServices, kCommand}},
         {{kMachine, kServices, kStored}, {kMachine, kServices + "once", {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakes::FakePlatform other;
        KestrumModule nt(other.services());
        Prepare(nt, other.registry, c.nt);
        for (const Entry& e : c.stored) {
            other.registry.SetText(e.hive, e.key, "Kestrum", *e.text);
        }
        nt.Run.RebootAdvised = true;
        other.ui.answers.push_back(MessageAnswer::Yes);
        CompleteRun(nt.Context);
        for (const Entry& e : c.expected) {
            EXPECT_EQ(other.registry.Text(e.hive, e.key, "Kestrum"), e.text) << e.key;
        }
        EXPECT_EQ(other.power.exits, std::vector<std::uint32_t>{6});
        EXPECT_EQ(other.power.privilegeRequests, c.nt ? 1 : 0);
        EXPECT_EQ(other.ui.messages.size(), 1u);
    }
}

TEST_F(CompletionTest, YesWithoutARunOnceKeyStillReboots) {
    reg.Find(kUser, "software\\microsoft\\windows\\currentversion")->subkeys.clear();
    AnswerReboot(MessageAnswer::Yes);
    EXPECT_FALSE(reg.HasKey(kUser, kRun + "once")) << "a write never creates the key";
    EXPECT_EQ(fake.power.exits, std::vector<std::uint32_t>{6});
}

TEST_F(CompletionTest, ShutdownRefusalsCarryTheirErrorAndTheSystemsText) {
    for (std::int32_t flags : {32, -1}) {
        const ShutdownOutcome refused = ShutdownSystem(module.Context, flags);
        EXPECT_FALSE(refused.ok);
        ASSERT_TRUE(refused.error);
        EXPECT_EQ(refused.error->number, 0x8004062Fu);
        EXPECT_EQ(refused.error->source, "Kestrum.mShutDown");
        EXPECT_EQ(refused.error->text, "Invalid parameter to ShutdownSystem: " + std::to_string(flags));
    }
    EXPECT_TRUE(fake.power.exits.empty());
    EXPECT_EQ(fake.power.privilegeRequests, 0);
    EXPECT_TRUE(ShutdownSystem(module.Context, 31).ok);
    fake.power.exits.clear();

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
    fake.power.exitAccepted = true;
    for (const Case& c : cases) {
        fake.power.exits.clear();
        fake.power.refusingStep = c.failing;
        const ShutdownOutcome refused = ShutdownSystem(module.Context, 6);
        EXPECT_FALSE(refused.ok) << c.text;
        EXPECT_TRUE(fake.power.exits.empty()) << c.text;
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
