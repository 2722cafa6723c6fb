#include <gtest/gtest.h>

#include "engine/Banner.h"
#include "engine/CleaningSteps.h"
#include "engine/RunDriver.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

using Steps = std::vector<CleaningStep>;
using Captions = std::vector<std::string>;

// Records the steps the driver asks for and performs them for real.
class RecordingSteps final : public ICleaningSteps {
public:
    explicit RecordingSteps(Steps& ran) : ran_(ran) {}
    void Run(CleaningStep step, RunContext& module) override {
        ran_.push_back(step);
        real_.Run(step, module);
    }

private:
    Steps& ran_;
    CategorySteps real_;
};

class RunDriverTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    Steps ran;
    fakes::FakeLabel* status = nullptr;

    void SetUp() override {
        module.Context.Steps = std::make_unique<RecordingSteps>(ran);
        module.Startup.IsWindowsNT = true;
        module.Startup.WindowsBuild = 2600;
        module.Options.GeneralOptions = kDefaultGeneralOptions;
        module.Options.DeleteOptions = kDefaultDeleteOptions;
    }

    // Runs as a window does; `onCaption` sees each status text as it is set.
    void RunInteractive(std::function<void(const std::string&)> onCaption = nullptr) {
        Banner banner(module.Context);
        banner.Show();
        status = static_cast<fakes::FakeLabel*>(&banner.Label2());
        status->onTextSet = std::move(onCaption);
        RunCleaning(module.Context);
        captions.clear();
        times.clear();
        for (const auto& [at, text] : status->history) {
            times.push_back(at);
            captions.push_back(text);
        }
        bannerLoadedAfterRun = banner.Loaded();
        banner.Unload();
    }

    void ClickCancelSoon() { fake.ui.Schedule(0, fakes::ClickOn{"Banner", "cancelButton"}); }

    Captions captions;
    std::vector<std::uint64_t> times;
    bool bannerLoadedAfterRun = false;
};

const Captions kDefaultNtCaptions{
    " Initializing",          " Removing Internet Explorer history", " Removing cookies",
    " Removing recent files", " Removing temporary files",           " Clearing cache",
    " Clearing Recycle Bin",  " Final clean up"};

TEST_F(RunDriverTest, InteractiveRunShowsEachCaptionForASecond) {
    RunInteractive();
    EXPECT_EQ(captions, kDefaultNtCaptions);
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_GE(times[i] - times[i - 1], 1000u) << captions[i - 1];
    }
    EXPECT_GE(fake.clock.NowMilliseconds() - times.back(), 1000u);
    EXPECT_TRUE(fake.ui.messages.empty());
    EXPECT_FALSE(module.Run.CancelRequested);

    module.Options.DeleteOptions = kNoDeleteOptions;
    ran.clear();
    RunInteractive();
    EXPECT_EQ(captions, Captions{" Initializing"});
    EXPECT_EQ(ran, Steps{CleaningStep::RegistryHistory});
}

TEST_F(RunDriverTest, ACancelWhileTheProgressWindowIsFirstDrawnStopsTheRun) {
    module.Run.CancelRequested = true;  // left over from an earlier run: no effect
    ClickCancelSoon();
    RunWithProgressWindow(module.Context);
    ASSERT_EQ(fake.ui.messages.size(), 1u);
    EXPECT_EQ(fake.ui.messages[0].text, "The Kestrum process was successfully stopped");
    EXPECT_TRUE(ran.empty());

    fake.ui.messages.clear();
    RunWithProgressWindow(module.Context);
    EXPECT_TRUE(fake.ui.messages.empty()) << "a new window starts without a Cancel";
    EXPECT_FALSE(module.Run.CancelRequested);
}

TEST_F(RunDriverTest, EveryCategoryWithItsConditions) {
    module.Options.DeleteOptions = "11111111100000000000";
    module.Options.SelectedFiles.push_back("c:\\x.txt");
    module.Options.SelectedFileCount = 1;
    RunInteractive();
    EXPECT_EQ(captions, (Captions{" Initializing", " Removing Internet Explorer history",
                                  " Removing cookies", " Removing recent files",
                                  " Removing temporary files", " Clearing cache",
                                  " Deleting selected files", " Clearing Recycle Bin",
                                  " Clearing DNS cache", " Removing prefetch files",
                                  " Final clean up"}));

    // An empty list has no caption of its own.
    module.Options.SelectedFileCount = 0;
    RunInteractive();
    EXPECT_EQ(std::count(captions.begin(), captions.end(), " Deleting selected files"), 0);
}

// Cancel pressed while each caption is up stops the run at its next check.
TEST_F(RunDriverTest, CancelAtEachStepStopsTheRest) {
    module.Options.DeleteOptions = "11111111100000000000";
    module.Options.SelectedFiles.push_back("c:\\x.txt");
    module.Options.SelectedFileCount = 1;
    RunInteractive();
    const Captions all = captions;
    const Steps allSteps = ran;
    ASSERT_EQ(all.size(), 11u);

    for (std::size_t cancelAt = 0; cancelAt + 1 < all.size(); ++cancelAt) {
        SCOPED_TRACE(all[cancelAt]);
        fake.ui.messages.clear();
        ran.clear();
        RunInteractive([&](const std::string& text) {
            if (text == all[cancelAt]) {
                ClickCancelSoon();
            }
        });
        EXPECT_EQ(captions, Captions(all.begin(), all.begin() + cancelAt + 1));
        EXPECT_EQ(ran, Steps(allSteps.begin(), allSteps.begin() + cancelAt));
        ASSERT_EQ(fake.ui.messages.size(), 1u);
        EXPECT_EQ(fake.ui.messages[0].text, "The Kestrum process was successfully stopped");
        EXPECT_EQ(fake.ui.messages[0].title, " Kestrum");
        EXPECT_FALSE(bannerLoadedAfterRun) << "the progress window closes before the message";
        EXPECT_TRUE(module.Run.CancelRequested);
        EXPECT_FALSE(module.Run.ProgressShown);
    }
}

TEST_F(RunDriverTest, ClosingTheProgressWindowLetsTheRunFinishSilently) {
    RunInteractive([&](const std::string& text) {
        if (text == " Removing cookies") {
            fake.ui.Schedule(0, fakes::CloseWindow{"Banner"});
            ClickCancelSoon();  // too late: nobody can cancel any more
        }
    });
    EXPECT_EQ(captions, Captions(kDefaultNtCaptions.begin(), kDefaultNtCaptions.begin() + 3));
    EXPECT_EQ(ran.back(), CleaningStep::RegistryHistory);
    EXPECT_EQ(ran[2], CleaningStep::RecentFiles) << "the interactive order stays";
    EXPECT_TRUE(fake.ui.messages.empty());
    EXPECT_FALSE(module.Run.ProgressShown);
}

TEST_F(RunDriverTest, SilentRunHasItsOwnOrderNoPausesAndNoCancel) {
    module.Options.DeleteOptions = "10111111100000000000";
    module.Run.CancelRequested = true;
    ClickCancelSoon();
    const std::uint64_t start = fake.clock.NowMilliseconds();
    RunCleaning(module.Context);
    EXPECT_EQ(ran, (Steps{CleaningStep::BrowserHistory, CleaningStep::TemporaryFiles,
                          CleaningStep::Cache, CleaningStep::RecentFiles,
                          CleaningStep::SelectedFiles, CleaningStep::RecycleBin,
                          CleaningStep::DnsCache, CleaningStep::Prefetch,
                          CleaningStep::RegistryHistory}));
    EXPECT_EQ(fake.clock.NowMilliseconds(), start);
    EXPECT_TRUE(fake.ui.messages.empty());
}

TEST_F(RunDriverTest, FlagsAreRecomputedAtEveryRun) {
    module.Options.GeneralOptions = "001";
    RunCleaning(module.Context);
    EXPECT_TRUE(module.Run.Flags.WipeFiles);
    module.Options.GeneralOptions = "0";  // too short: the flag keeps its value from the last run
    module.Options.DeleteOptions = "0";
    RunCleaning(module.Context);
    EXPECT_TRUE(module.Run.Flags.WipeFiles);
    EXPECT_FALSE(module.Run.Flags.DeleteHistory);
    EXPECT_TRUE(module.Run.Flags.DeleteCookies);
}

TEST_F(RunDriverTest, LocationsFollowThePlatformAndTheUser) {
    fake.system.userName = "AdMiNiStRaToR";
    RunCleaning(module.Context);
    const RunLocations& loc = module.Run.Locations;
    EXPECT_EQ(loc.WindowsFolder, "C:\\WINDOWS\\");
    EXPECT_EQ(loc.SystemFolder, "C:\\WINDOWS\\system32\\");
    EXPECT_EQ(loc.TempFolder, "C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp\\");
    EXPECT_EQ(loc.UserName, "administrator");
    EXPECT_EQ(loc.DefaultLocal, "c:\\documents and settings\\default user\\local settings\\");

    fake.system.userName = "Bob.Smith";
    // 63 characters and the NUL fill the 64-character buffer; one more and there is nothing.
    fake.system.windowsDirectory = "C:\\" + std::string(60, 'w');
    fake.system.systemDirectory = "C:\\" + std::string(61, 's');
    fake.system.tempDirectory = "C:\\" + std::string(70, 't') + "\\";
    RunCleaning(module.Context);
    EXPECT_EQ(loc.UserProfile, "c:\\documents and settings\\bob.smith\\");
    EXPECT_EQ(loc.UserLocal, "c:\\documents and settings\\bob.smith\\local settings\\");
    EXPECT_EQ(loc.WindowsFolder, fake.system.windowsDirectory + "\\");
    EXPECT_EQ(loc.SystemFolder, "");
    EXPECT_EQ(loc.TempFolder, "");

    // No user name: no profile of the user's own, rather than one named by an empty text.
    fake.system.userName = std::string(80, 'u');
    RunCleaning(module.Context);
    EXPECT_EQ(loc.UserName, "");
    EXPECT_EQ(loc.UserProfile, "");
    EXPECT_EQ(loc.UserLocal, "");
}

TEST_F(RunDriverTest, PauseKeepsHandlingEventsAndYieldOnlyWhenInputWaits) {
    int handled = 0;
    auto window = fake.ui.CreateTopWindow("Probe", "", 1000, 1000);
    window->AddPushButton("okButton", {}, "OK").SetOnClick([&] { ++handled; });
    window->Show();
    fake.ui.Schedule(400, fakes::ClickOn{"Probe", "okButton"});
    fake.ui.Schedule(900, fakes::ClickOn{"Probe", "okButton"});
    const std::uint64_t start = fake.clock.NowMilliseconds();
    Pause(module.Context, 1);
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(fake.clock.NowMilliseconds() - start, 1000u);

    const int passes = fake.ui.pendingProcessed;
    YieldToWindows(module.Context);
    EXPECT_EQ(fake.ui.pendingProcessed, passes) << "nothing waits: no event processing";
    fake.ui.Schedule(0, fakes::ClickOn{"Probe", "okButton"});
    YieldToWindows(module.Context);
    EXPECT_EQ(handled, 3);
}

}  // namespace
}  // namespace kestrum
