#include <gtest/gtest.h>

#include "engine/CleaningSteps.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"

namespace kestrum {
namespace {

// Stands in for the cleaning: counts the runs, each ending in the registry step.
struct Probe final : ICleaningSteps {
    int runs = 0;
    std::function<void()> duringRun = [] {};
    void Run(CleaningStep step, RunContext&) override {
        if (step == CleaningStep::RegistryHistory) {
            ++runs;
            duringRun();
        }
    }
};

struct Started {
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    Probe* probe = nullptr;

    Started() {
        auto owned = std::make_unique<Probe>();
        probe = owned.get();
        module.Context.Steps = std::move(owned);
        fake.files.AddFolder("C:\\Program Files\\Kestrum");
        fake.files.AddFolder("C:\\Work");
        fake.files.AddDrive("D:");
    }
};

// The command is the folder, a separator and the name, lower-cased as they are; the list lives in
// the current directory, which is the program's folder once the change there succeeds. Only the
// NT family has a build number (9x packs its version into that field).
TEST(Startup, StateForTheProgramsFolderAndTheSystem) {
    const struct {
        const char* folder;
        const char* command;
        const char* list;
        std::optional<bool> nt;  // none: the system does not say
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
        EXPECT_EQ(s.module.Startup.StartupCommand, c.command);
        EXPECT_EQ(s.module.Startup.ListFilePath, c.list);
        EXPECT_EQ(s.module.Options.DeleteOptions, "000000001");
        EXPECT_EQ(s.module.Options.SelectedFileCount, c.folder[0] == 'C' ? 1 : 0);
        EXPECT_EQ(s.module.Startup.IsWindowsNT, c.nt.value_or(false));
        EXPECT_EQ(s.module.Startup.WindowsBuild, c.nt.value_or(false) ? 2195 : 0);
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
        bool optionsShown;
        std::size_t messages;
    } cases[] = {
        {"/startup", true, StartupOutcome::Ended, true, false, 1, false, 0},
        {"/run", true, StartupOutcome::WindowShown, {}, false, 0, true, 0},
        {"", true, StartupOutcome::Ended, {}, false, 0, false, 1},
        {"", false, StartupOutcome::WindowShown, false, true, 0, true, 0},
        {"/RUN", false, StartupOutcome::WindowShown, false, true, 0, true, 0},
        {"/startup ", true, StartupOutcome::Ended, {}, false, 0, false, 1},
        {" /startup", false, StartupOutcome::WindowShown, false, true, 0, true, 0},
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
        fakes::FakeWindow* options = s.fake.ui.Find("Options");
        EXPECT_EQ(options != nullptr && options->Visible(), c.optionsShown);
        EXPECT_EQ(s.fake.ui.messages.size(), c.messages);
        if (c.messages > 0) {
            EXPECT_EQ(s.fake.ui.messages[0].text, "The Kestrum program is already running");
            EXPECT_EQ(s.fake.ui.messages[0].title, s.fake.application.Title());
        }
    }
}

TEST(Startup, CleanNowRunsWithTheProgressWindowAndShowsTheWindowAgain) {
    Started s;
    ASSERT_EQ(Main(s.module), StartupOutcome::WindowShown);
    fakes::FakeWindow* window = s.fake.ui.Find("Options");
    bool hiddenDuringRun = false;
    bool bannerDuringRun = false;
    s.probe->duringRun = [&] {
        hiddenDuringRun = !window->Visible();
        fakes::FakeWindow* banner = s.fake.ui.Find("Banner");
        bannerDuringRun = banner != nullptr && banner->Visible();
    };
    s.fake.ui.Input(fakes::ClickOn{"Options", "runButton"});
    EXPECT_TRUE(hiddenDuringRun);
    EXPECT_TRUE(bannerDuringRun);
    EXPECT_EQ(s.fake.ui.Find("Banner"), nullptr) << "closed after the run";
    EXPECT_FALSE(s.module.Run.ProgressShown);
    EXPECT_TRUE(window->Visible());
    ASSERT_EQ(s.fake.ui.messages.size(), 1u);
    EXPECT_EQ(s.fake.ui.messages[0].text, "The Kestrum process was successfully completed");

    // Cancel pressed during the first second: the stopped message and no report.
    s.fake.ui.Schedule(500, fakes::ClickOn{"Banner", "cancelButton"});
    s.fake.ui.Input(fakes::ClickOn{"Options", "runButton"});
    ASSERT_EQ(s.fake.ui.messages.size(), 2u);
    EXPECT_EQ(s.fake.ui.messages[1].text, "The Kestrum process was successfully stopped");
    EXPECT_EQ(s.probe->runs, 1);

    // Closing the window ends the program's message loop.
    s.fake.ui.Schedule(0, fakes::ClickOn{"Options", "exitButton"});
    s.fake.ui.RunUntilAllWindowsClosed();
    EXPECT_FALSE(s.fake.ui.loopEndedWithWindowsOpen);
}

}  // namespace
}  // namespace kestrum
