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
    void Run(CleaningStep step, KestrumModule&) override {
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
        module.Steps = std::make_unique<CountingSteps>(runs);
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
    EXPECT_TRUE(module.IsWindowsNT);
    EXPECT_EQ(module.WindowsBuild, 2600);
    EXPECT_EQ(fake.system.lastVersionRecordSize, 148u);
    EXPECT_EQ(module.GeneralOptions, "11000000000000000000");
    EXPECT_EQ(module.DeleteOptions, "000000001");
    EXPECT_EQ(module.StartupCommand, "c:\\program files\\kestrum\\kestrum.exe /startup");
    EXPECT_EQ(fake.files.CurrentDirectory(), "C:\\Program Files\\Kestrum");
    EXPECT_EQ(module.ListFilePath, "C:\\Program Files\\Kestrum\\Kestrum.lst");
    ASSERT_EQ(module.SelectedFileCount, 1);
    EXPECT_EQ(module.SelectedFiles[1], "c:\\a.txt");
}

TEST_F(StartupTest, ProgramInADriveRoot) {
    fake.files.AddDrive("D:");
    fake.application.folder = "D:\\";
    fake.application.exeName = "KESTRUM";
    InitializeStartupState(module);
    EXPECT_EQ(module.StartupCommand, "d:\\\\kestrum.exe /startup");
    EXPECT_EQ(module.ListFilePath, "D:\\Kestrum.lst");
}

TEST_F(StartupTest, ANetworkFolderLeavesTheCurrentDirectory) {
    fake.files.AddFolder("C:\\Work");
    fake.files.ChangeDirectory("C:\\Work");
    fake.application.folder = "\\\\server\\share\\Kestrum";
    InitializeStartupState(module);
    EXPECT_EQ(module.StartupCommand, "\\\\server\\share\\kestrum\\kestrum.exe /startup");
    EXPECT_EQ(module.ListFilePath, "C:\\Work\\Kestrum.lst");
}

TEST_F(StartupTest, WindowsFamilies) {
    fake.system.platformId = kPlatformWin32Windows;
    fake.system.buildNumber = 67766446;  // 9x packs the version into the build field
    EXPECT_FALSE(DetectWindowsNT(module));
    EXPECT_EQ(module.WindowsBuild, 0);

    fake.system.platformId = kPlatformWin32Nt;
    fake.system.buildNumber = 2195;
    EXPECT_TRUE(DetectWindowsNT(module));
    EXPECT_EQ(module.WindowsBuild, 2195);

    fake.system.versionQueryFails = true;
    EXPECT_FALSE(DetectWindowsNT(module));
    EXPECT_EQ(module.WindowsBuild, 0);
}

TEST_F(StartupTest, UserNameMustFitEightyCharacters) {
    fake.system.userName = std::string(79, 'n');
    EXPECT_EQ(CurrentUserName(module), fake.system.userName);
    fake.system.userName = std::string(80, 'n');
    EXPECT_EQ(CurrentUserName(module), "");
}

TEST_F(StartupTest, SilentStartRunsHiddenAndEnds) {
    fake.system.platformId = kPlatformWin32Windows;
    fake.system.hasRegisterServiceProcess = true;
    fake.application.previousInstance = true;
    EXPECT_EQ(Start("/startup"), StartupOutcome::Ended);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(fake.application.taskListVisible);
    EXPECT_EQ(fake.system.registeredType, 1u);
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
    for (const char* arguments : {"/RUN", "/Startup", "/run ", " /startup", "-run", "x"}) {
        SCOPED_TRACE(arguments);
        KestrumModule fresh(fake.services());
        fresh.Steps = std::make_unique<CountingSteps>(runs);
        fake.application.commandLine = arguments;
        EXPECT_EQ(Main(fresh), StartupOutcome::WindowShown);
        EXPECT_TRUE(fake.application.taskListVisible);
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
        void Run(CleaningStep step, KestrumModule&) override {
            if (step == CleaningStep::RegistryHistory) {
                onRegistryStep();
            }
        }
    };
    auto probe = std::make_unique<Probe>();
    probe->onRegistryStep = [&] {
        hiddenDuringRun = !window->Visible();
        fakes::FakeWindow* banner = fake.ui.Find("Banner");
        bannerDuringRun = banner != nullptr && banner->Visible() &&
                          banner->Label("Label1")->Text() == "Kestrum Running" &&
                          banner->Button("cancelButton")->Text() == "Cancel";
    };
    module.Steps = std::move(probe);

    fake.ui.Input(fakes::ClickOn{"Options", "runButton"});
    EXPECT_TRUE(hiddenDuringRun);
    EXPECT_TRUE(bannerDuringRun);
    EXPECT_EQ(fake.ui.Find("Banner"), nullptr) << "closed after the run";
    EXPECT_FALSE(module.ProgressShown);
    EXPECT_TRUE(window->Visible());

    // Closing the window ends the program's message loop.
    fake.ui.Schedule(0, fakes::ClickOn{"Options", "exitButton"});
    fake.ui.RunUntilAllWindowsClosed();
    EXPECT_FALSE(fake.ui.loopEndedWithWindowsOpen);
}

}  // namespace
}  // namespace kestrum
