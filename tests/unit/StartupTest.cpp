#include <gtest/gtest.h>

#include "engine/CleaningSteps.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"

namespace kestrum {
namespace {

using enum CleaningStep;

// Stands in for the cleaning: counts the runs, each ending in the registry step.
struct Probe final : ICleaningSteps {
    int runs = 0;
    std::function<void()> duringRun = [] {};
    void Run(CleaningStep step, RunContext&) override {
        if (step == RegistryHistory) {
            ++runs;
            duringRun();
        }
    }
};

struct Started {
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    Probe* probe = new Probe;

    Started() {
        module.Context.Steps.reset(probe);
        for (const char* folder : {"C:\\Program Files\\Kestrum", "C:\\Work"})
            fake.files.AddFolder(folder);
        fake.files.AddDrive("D:");
    }
};

// The command is folder, separator and name, lower-cased; the list is in the current folder, the
// program's once the change there succeeds. Only NT has a build number (9x packs its version in).
TEST(Startup, StateForTheProgramsFolderAndTheSystem) {
    const struct {
        const char *folder, *command, *list;
        std::optional<bool> nt;
    } cases[] = {
        {"C:\\Program Files\\Kestrum", "c:\\program files\\kestrum\\kestrum.exe /startup",
         "C:\\Program Files\\Kestrum\\Kestrum.lst", true},
        {"D:\\", "d:\\\\kestrum.exe /startup", "D:\\Kestrum.lst", false},
        {"\\\\server\\share\\Kestrum", "\\\\server\\share\\kestrum\\kestrum.exe /startup",
         "C:\\Work\\Kestrum.lst", std::nullopt},
    };
    for (const auto& c : cases) {
        Started s;
        s.fake.files.AddFile("C:\\Program Files\\Kestrum\\Kestrum.lst", "c:\\a.txt\r\n");
        s.fake.settings.Put("DeleteOptions", "000000001");
        ASSERT_TRUE(s.fake.files.ChangeDirectory("C:\\Work"));
        s.fake.application.folder = c.folder;
        s.fake.application.exeName = "KESTRUM";
        s.fake.system.isNt = c.nt.value_or(true);
        s.fake.system.buildNumber = c.nt == false ? 67766446 : 2195;
        s.fake.system.versionQueryFails = !c.nt;
        InitializeStartupState(s.module);
        const StartupState& st = s.module.Startup;
        EXPECT_EQ(st.StartupCommand + "|" + st.ListFilePath, c.command + std::string("|") + c.list);
        EXPECT_EQ(s.module.Options.DeleteOptions, "000000001");
        EXPECT_EQ(s.module.Options.SelectedFileCount, c.folder[0] == 'C' ? 1 : 0);
        EXPECT_EQ(std::pair(st.IsWindowsNT, st.WindowsBuild),
                  std::pair(c.nt.value_or(false), c.nt.value_or(false) ? 2195 : 0));
    }
}

// The arguments are compared exactly; only an interactive start is refused beside another.
TEST(Startup, EachKindOfStart) {
    const struct {
        const char* arguments;
        bool previousInstance;
        StartupOutcome outcome;
        std::optional<bool> serviceProcess;
        bool inTaskList;
        int runs;
        const char* window;  // the one shown, if any
        std::size_t messages;
    } cases[] = {
        {"/startup", true, StartupOutcome::Ended, true, false, 1, nullptr, 0},
        {"/run", true, StartupOutcome::WindowShown, {}, false, 0, "RunVerify", 0},
        {"", true, StartupOutcome::Ended, {}, false, 0, nullptr, 1},
        {"", false, StartupOutcome::WindowShown, false, true, 0, "Options", 0},
        {"/RUN", false, StartupOutcome::WindowShown, false, true, 0, "Options", 0},
        {"/startup ", true, StartupOutcome::Ended, {}, false, 0, nullptr, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.arguments + '"');
        Started s;
        s.fake.system.hasRegisterServiceProcess = true;
        s.fake.application.commandLine = c.arguments;
        s.fake.application.previousInstance = c.previousInstance;
        s.fake.application.taskListVisible = false;
        EXPECT_EQ(Main(s.module), c.outcome);
        EXPECT_EQ(s.fake.system.registered, c.serviceProcess);
        EXPECT_EQ(s.fake.application.taskListVisible, c.inTaskList);
        EXPECT_EQ(s.probe->runs, c.runs);
        for (const char* name : {"Options", "RunVerify"}) {
            fakes::FakeWindow* window = s.fake.ui.Find(name);
            const bool expected = c.window != nullptr && std::string(c.window) == name;
            EXPECT_EQ(window != nullptr && window->Visible(), expected) << name;
        }
        EXPECT_EQ(s.fake.ui.messages.size(), c.messages);
    }
}

// Clean Now runs with the window's choices, saved or not, and leaves the store as it was; Close
// has the focus afterwards.
TEST(Startup, CleanNowRunsWithTheProgressWindowAndShowsTheWindowAgain) {
    Started s;
    ASSERT_EQ(Main(s.module), StartupOutcome::WindowShown);
    fakes::FakeWindow* window = s.fake.ui.Find("Options");
    bool hiddenWithBannerDuringRun = false;
    std::string choices;
    s.probe->duringRun = [&] {
        fakes::FakeWindow* banner = s.fake.ui.Find("Banner");
        hiddenWithBannerDuringRun = !window->Visible() && banner != nullptr && banner->Visible();
        choices = s.module.Options.DeleteOptions;
    };
    s.fake.ui.Input(fakes::ChooseTab{"Options", "SSTab1", 1});
    s.fake.ui.Input(fakes::ClickOn{"Options", "dOptions(1)"});
    s.fake.ui.Input(fakes::ClickOn{"Options", "runButton"});
    EXPECT_TRUE(hiddenWithBannerDuringRun);
    EXPECT_EQ(choices, "01111100000000000000");
    EXPECT_FALSE(s.fake.settings.Read("Kestrum", "Settings", "DeleteOptions"));
    EXPECT_EQ(s.fake.ui.Find("Banner"), nullptr) << "closed after the run";
    EXPECT_TRUE(window->Visible() && window->Find("cancelButton")->HasFocus());
    ASSERT_EQ(s.fake.ui.messages.size(), 1u);
    EXPECT_EQ(s.fake.ui.messages[0].text, "The Kestrum process was successfully completed");
    EXPECT_EQ(s.probe->runs, 1);

    s.fake.ui.answers.push_back(MessageAnswer::No);  // not saving the first start's choices
    s.fake.ui.Schedule(0, fakes::ClickOn{"Options", "cancelButton"});
    s.fake.ui.RunUntilAllWindowsClosed();  // closing the window ends the program's message loop
    EXPECT_FALSE(s.fake.ui.loopEndedWithWindowsOpen);
}

}  // namespace
}  // namespace kestrum
