#include <gtest/gtest.h>

#include "engine/CleaningSteps.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"

namespace kestrum {
namespace {

class CountingSteps final : public ICleaningSteps {
public:
    explicit CountingSteps(int& runs) : runs_(runs) {}
    void Run(CleaningStep step, RunContext&) override {
        if (step == CleaningStep::RegistryHistory) {
            ++runs_;
        }
    }

private:
    int& runs_;
};

class StartupTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    int runs = 0;

    void SetUp() override {
        module.Context.Steps = std::make_unique<CountingSteps>(runs);
        fake.files.AddFolder("C:\\Program Files\\Kestrum");
    }
    StartupOutcome Start(const std::string& arguments) {
        fake.application.commandLine = arguments;
        return Main(module);
    }
};

TEST_F(StartupTest, StateForAProgramInAFolderWithBlanksAndCapitals) {
    fake.files.AddFile("C:\\Program Files\\Kestrum\\Kestrum.lst", "c:\\a.txt\r\n");
    fake.settings.Put("DeleteOptions", "000000001");
    InitializeStartupState(module);
    EXPECT_TRUE(module.Startup.IsWindowsNT);
    EXPECT_EQ(module.Startup.WindowsBuild, 2600);
    EXPECT_EQ(module.Options.GeneralOptions, "11000000000000000000");
    EXPECT_EQ(module.Options.DeleteOptions, "000000001");
    EXPECT_EQ(module.Startup.StartupCommand, "c:\\program files\\kestrum\\kestrum.exe /startup");
    EXPECT_EQ(fake.files.CurrentDirectory(), "C:\\Program Files\\Kestrum");
    EXPECT_EQ(module.Startup.ListFilePath, "C:\\Program Files\\Kestrum\\Kestrum.lst");
    ASSERT_EQ(module.Options.SelectedFileCount, 1);
    EXPECT_EQ(module.Options.SelectedFiles[1], "c:\\a.txt");
}

// The command is the folder, a separator and the name, lower-cased as it is; the list lives in
// the current directory, which is the program's folder once the change there succeeds.
TEST_F(StartupTest, CommandAndListPathForOtherFolders) {
    fake.files.AddDrive("D:");
    fake.files.AddFolder("C:\\Work");
    const struct {
        const char* folder;
        const char* command;
        const char* list;
    } cases[] = {
        {"D:\\", "d:\\\\kestrum.exe /startup", "D:\\Kestrum.lst"},
        {"\\\\server\\share\\Kestrum", "\\\\server\\share\\kestrum\\kestrum.exe /startup",
         "C:\\Work\\Kestrum.lst"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(fake.files.ChangeDirectory("C:\\Work"));
        fake.application.folder = c.folder;
        fake.application.exeName = "KESTRUM";
        InitializeStartupState(module);
        EXPECT_EQ(module.Startup.StartupCommand, c.command);
        EXPECT_EQ(module.Startup.ListFilePath, c.list);
    }
}

TEST_F(StartupTest, WindowsFamilies) {
    fake.system.isNt = false;
    fake.system.buildNumber = 67766446;  // 9x packs the version into the build field
    EXPECT_FALSE(DetectWindowsNT(module));
    EXPECT_EQ(module.Startup.WindowsBuild, 0);

    fake.system.isNt = true;
    fake.system.buildNumber = 2195;
    EXPECT_TRUE(DetectWindowsNT(module));
    EXPECT_EQ(module.Startup.WindowsBuild, 2195);

    fake.system.versionQueryFails = true;
    EXPECT_FALSE(DetectWindowsNT(module));
    EXPECT_EQ(module.Startup.WindowsBuild, 0);
}

TEST_F(StartupTest, SilentStartRunsHiddenAndEnds) {
    fake.system.isNt = false;
    fake.system.hasRegisterServiceProcess = true;
    fake.application.previousInstance = true;
    EXPECT_EQ(Start("/startup"), StartupOutcome::Ended);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(fake.application.taskListVisible);
    EXPECT_EQ(fake.system.registered, true);
    EXPECT_EQ(fake.ui.Find("Options"), nullptr);
    EXPECT_EQ(fake.ui.Find("Banner"), nullptr);
    EXPECT_TRUE(fake.ui.messages.empty());
}

TEST_F(StartupTest, ShortcutStartIgnoresOtherInstances) {
    fake.application.previousInstance = true;
    EXPECT_EQ(Start("/run"), StartupOutcome::WindowShown);
    fakes::FakeWindow* window = fake.ui.Find("Options");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->Title(), " Kestrum Options");
    EXPECT_EQ(fake.application.taskListChanges, 0);
    EXPECT_TRUE(fake.ui.messages.empty());
    EXPECT_EQ(runs, 0);
}

TEST_F(StartupTest, SecondInteractiveStartIsRefused) {
    fake.application.previousInstance = true;
    EXPECT_EQ(Start(""), StartupOutcome::Ended);
    ASSERT_EQ(fake.ui.messages.size(), 1u);
    EXPECT_EQ(fake.ui.messages[0].text, "The Kestrum program is already running");
    EXPECT_EQ(fake.ui.messages[0].title, "Kestrum");
    EXPECT_EQ(fake.ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(fake.ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(fake.ui.Find("Options"), nullptr);
}

TEST_F(StartupTest, ArgumentsAreComparedExactly) {
    fake.system.hasRegisterServiceProcess = true;
    for (const char* arguments : {"/RUN", "/Startup", "/run ", " /startup", "-run", "x"}) {
        SCOPED_TRACE(arguments);
        KestrumModule fresh(fake.services());
        fresh.Context.Steps = std::make_unique<CountingSteps>(runs);
        fake.application.commandLine = arguments;
        EXPECT_EQ(Main(fresh), StartupOutcome::WindowShown);
        EXPECT_TRUE(fake.application.taskListVisible);
        EXPECT_EQ(fake.system.registered, false) << "no service process on an interactive start";
        ASSERT_NE(fake.ui.Find("Options"), nullptr);
    }
    EXPECT_EQ(runs, 0);
}

TEST_F(StartupTest, CleanNowRunsWithTheProgressWindowAndShowsTheWindowAgain) {
    ASSERT_EQ(Start(""), StartupOutcome::WindowShown);
    fakes::FakeWindow* window = fake.ui.Find("Options");
    bool hiddenDuringRun = false;
    bool bannerDuringRun = false;
    struct Probe final : ICleaningSteps {
        std::function<void()> onRegistryStep;
        void Run(CleaningStep step, RunContext&) override {
            if (step == CleaningStep::RegistryHistory) {
                onRegistryStep();
            }
        }
    };
    auto probe = std::make_unique<Probe>();
    probe->onRegistryStep = [&] {
        hiddenDuringRun = !window->Visible();
        fakes::FakeWindow* banner = fake.ui.Find("Banner");
        bannerDuringRun = banner != nullptr && banner->Visible();
    };
    module.Context.Steps = std::move(probe);

    fake.ui.Input(fakes::ClickOn{"Options", "runButton"});
    EXPECT_TRUE(hiddenDuringRun);
    EXPECT_TRUE(bannerDuringRun);
    EXPECT_EQ(fake.ui.Find("Banner"), nullptr) << "closed after the run";
    EXPECT_FALSE(module.Run.ProgressShown);
    EXPECT_TRUE(window->Visible());

    // Closing the window ends the program's message loop.
    fake.ui.Schedule(0, fakes::ClickOn{"Options", "exitButton"});
    fake.ui.RunUntilAllWindowsClosed();
    EXPECT_FALSE(fake.ui.loopEndedWithWindowsOpen);
}

}  // namespace
}  // namespace kestrum
