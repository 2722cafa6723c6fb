#include <gtest/gtest.h>

#include "engine/Completion.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
const std::string kRun = "software\\microsoft\\windows\\currentversion\\run";
const std::string kServices = kRun + "services";
const std::string kCommand = "c:\\program files\\kestrum\\kestrum.exe /startup";
const std::string kStartupKeys[] = {kRun, kRun + "once", kServices, kServices + "once"};

// A machine of the family chosen with every start-up key there.
struct Machine {
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};

    explicit Machine(bool nt) {
        module.Startup.IsWindowsNT = nt;
        module.Startup.StartupCommand = kCommand;
        for (RegistryHive hive : {kUser, kMachine})
            for (const std::string& key : kStartupKeys)
                fake.registry.Key(hive, key);
    }
};

// Yes arranges one more run at the next start, unless the start-up entry does that, and reboots;
// No leaves registry and session alone, with no success message after it.
TEST(Completion, YesArrangesOneSilentRunWhereNeededAndReboots) {
    // The entry there before, if any, and every value of the program's name afterwards.
    const struct {
        bool nt;
        RegistryHive hive;
        std::string key, text;
        std::vector<std::string> holders;
        MessageAnswer answer = MessageAnswer::Yes;
    } cases[] = {
        {true, kUser, kRun, "", {}, MessageAnswer::No},
        {true, kUser, kRun, "", {"user runonce"}},
        {true, kUser, kRun, "C:\\Program Files\\Kestrum\\KESTRUM.EXE /startup", {"user run"}},
        {true, kUser, kRun, "c:\\old place\\kestrum.exe /startup", {"user run", "user runonce"}},
        {true, kMachine, kRun, kCommand, {"user run"}},  // the machine's entry moves
        {false, kUser, kRun, "", {"machine runservicesonce"}},
        {false, kMachine, kServices, kCommand, {"machine runservices"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + (c.nt ? " NT" : " 98"));
        Machine m(c.nt);
        if (!c.text.empty())
            m.fake.registry.SetText(c.hive, c.key, "Kestrum", c.text);
        m.module.Run.RebootAdvised = true;
        m.fake.ui.answers.push_back(c.answer);
        CompleteRun(m.module.Context);
        std::vector<std::string> holders;
        for (RegistryHive hive : {kUser, kMachine}) {
            for (const std::string& key : kStartupKeys) {
                if (const auto text = m.fake.registry.Text(hive, key, "Kestrum")) {
                    holders.push_back((hive == kUser ? "user " : "machine ") +
                                      key.substr(kRun.size() - 3));
                    EXPECT_TRUE((hive == c.hive && key == c.key) || *text == kCommand + '\0')
                        << holders.back();
                }
            }
        }
        EXPECT_EQ(holders, c.holders);
        const bool yes = c.answer == MessageAnswer::Yes;
        EXPECT_EQ(m.fake.power.exits,
                  yes ? std::vector<std::uint32_t>{6} : std::vector<std::uint32_t>{});
        EXPECT_EQ(m.fake.power.privilegeRequests, yes && c.nt ? 1 : 0);
        EXPECT_EQ(m.fake.ui.messages.size(), 1u);
    }
}

// The system is asked only once every privilege step succeeded; a refused reboot is said.
TEST(Completion, ShutdownAsksTheSystemOnlyWithThePrivilege) {
    using enum PrivilegeStep;
    for (const std::optional<PrivilegeStep> refusing :
         {std::optional<PrivilegeStep>(), {Lookup}, {Process}, {OpenToken}, {Enable}}) {
        Machine m(true);
        m.fake.power.refusingStep = refusing;
        m.fake.power.exitAccepted = false;
        EXPECT_FALSE(ShutdownSystem(m.module.Context, 6).ok);
        EXPECT_EQ(m.fake.power.exits.size(), refusing ? 0u : 1u);
        EXPECT_EQ(m.fake.power.privilegeRequests, 1);
    }
    Machine m(true);
    EXPECT_TRUE(ShutdownSystem(m.module.Context, 0).ok);
    m.fake.power.refusingStep = PrivilegeStep::OpenToken;
    m.module.Run.RebootAdvised = true;
    m.fake.ui.answers.push_back(MessageAnswer::Yes);
    CompleteRun(m.module.Context);
    ASSERT_EQ(m.fake.ui.messages.size(), 2u);
    EXPECT_EQ(m.fake.ui.messages[1].text,
              "Can't enable shutdown: You do not have the privileges to shutdown this system. "
              "[Access is denied.\r\n]");
}

}  // namespace
}  // namespace kestrum
