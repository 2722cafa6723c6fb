#include <gtest/gtest.h>

#include "engine/Banner.h"
#include "engine/CleaningSteps.h"
#include "engine/RunDriver.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

using Steps = std::vector<CleaningStep>;
using enum CleaningStep;

// Records the steps the driver asks for and performs them for real.
struct RecordingSteps final : ICleaningSteps {
    Steps& ran;
    CategorySteps real;
    explicit RecordingSteps(Steps& steps) : ran(steps) {}
    void Run(CleaningStep step, RunContext& ctx) override {
        ran.push_back(step);
        real.Run(step, ctx);
    }
};

class RunDriverTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    Steps ran;
    // Each status text of the last interactive run, with the time it was set.
    std::vector<std::pair<std::uint64_t, std::string>> shown;
    bool bannerLoadedAfterRun = false;

    void SetUp() override {
        module.Context.Steps = std::make_unique<RecordingSteps>(ran);
        module.Startup.IsWindowsNT = true;
        module.Options.GeneralOptions = kDefaultGeneralOptions;
        module.Options.DeleteOptions = kDefaultDeleteOptions;
    }
    // Runs as a window does; `onCaption` sees each status text as it is set.
    void RunInteractive(std::function<void(const std::string&)> onCaption = nullptr) {
        ran.clear();
        fake.ui.messages.clear();
        Banner banner(module.Context);
        banner.Show();
        auto& status = static_cast<fakes::FakeLabel&>(banner.Label2());
        status.onTextSet = std::move(onCaption);
        RunCleaning(module.Context);
        shown = status.history;
        bannerLoadedAfterRun = banner.Loaded();
    }
    void ClickCancelSoon() { fake.ui.Schedule(0, fakes::ClickOn{"Banner", "cancelButton"}); }
    bool Stopped() {
        return fake.ui.messages.size() == 1 &&
               fake.ui.messages[0].text == "The Kestrum process was successfully stopped";
    }
};

// Each caption stays up a second; Cancel stops the run at its next check, the window gone first.
TEST_F(RunDriverTest, InteractiveRunPacesItsCaptionsAndCancelStopsTheRest) {
    RunInteractive();
    const auto all = shown;
    const Steps allSteps = ran;
    EXPECT_EQ(allSteps, (Steps{BrowserHistory, Cookies, RecentFiles, TemporaryFiles, Cache,
                               RecycleBin, RegistryHistory}));
    ASSERT_EQ(all.size(), 8u) << "one for the start, one for each step and the end";
    for (std::size_t i = 1; i < all.size(); ++i)
        EXPECT_GE(all[i].first - all[i - 1].first, 1000u) << all[i - 1].second;
    EXPECT_GE(fake.clock.NowMilliseconds() - all.back().first, 1000u);

    for (std::size_t cancelAt = 0; cancelAt + 1 < all.size(); ++cancelAt) {
        SCOPED_TRACE(all[cancelAt].second);
        RunInteractive([&](const std::string& text) {
            if (text == all[cancelAt].second) {
                ClickCancelSoon();
            }
        });
        EXPECT_EQ(shown.size(), cancelAt + 1);
        EXPECT_EQ(ran, Steps(allSteps.begin(), allSteps.begin() + cancelAt));
        EXPECT_TRUE(Stopped() && module.Run.CancelRequested);
        EXPECT_FALSE(bannerLoadedAfterRun || module.Run.ProgressShown);
    }

    module.Options.DeleteOptions = kNoDeleteOptions;
    RunInteractive();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(ran, Steps{RegistryHistory});
}

TEST_F(RunDriverTest, ACancelAsTheWindowIsFirstDrawnStopsTheRunAndClosingItLetsTheRunFinish) {
    module.Run.CancelRequested = true;  // left over from an earlier run: no effect
    ClickCancelSoon();
    RunWithProgressWindow(module.Context);
    EXPECT_TRUE(Stopped() && ran.empty());

    fake.ui.messages.clear();
    RunWithProgressWindow(module.Context);
    EXPECT_TRUE(fake.ui.messages.empty()) << "a new window starts without a Cancel";
    EXPECT_FALSE(module.Run.CancelRequested);

    RunInteractive([&](const std::string& text) {
        if (text == " Removing cookies") {
            fake.ui.Schedule(0, fakes::CloseWindow{"Banner"});
            ClickCancelSoon();  // too late: nobody can cancel any more
        }
    });
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_EQ(ran.size(), 7u) << "every step";
    EXPECT_TRUE(fake.ui.messages.empty());
    EXPECT_FALSE(module.Run.ProgressShown);
}

TEST_F(RunDriverTest, SilentRunHasItsOwnOrderNoPausesAndNoCancel) {
    module.Options.DeleteOptions = "10111111100000000000";
    module.Run.CancelRequested = true;  // both from an earlier run
    module.Run.RebootAdvised = true;
    ClickCancelSoon();
    const std::uint64_t start = fake.clock.NowMilliseconds();
    RunCleaning(module.Context);
    EXPECT_EQ(ran, (Steps{BrowserHistory, TemporaryFiles, Cache, RecentFiles, SelectedFiles,
                          RecycleBin, DnsCache, Prefetch, RegistryHistory}));
    EXPECT_EQ(fake.clock.NowMilliseconds(), start);
    EXPECT_TRUE(fake.ui.messages.empty());
    EXPECT_EQ(fake.shell.started.size(), 1u) << "the DNS cache's flush, the one program started";
    EXPECT_FALSE(module.Run.RebootAdvised || module.Run.CancelRequested)
        << "a silent run clears both";

    module.Options.GeneralOptions = "001";
    RunCleaning(module.Context);
    EXPECT_TRUE(module.Run.Flags.WipeFiles) << "the flags are read at every run";
    const int passes = fake.ui.pendingProcessed;
    YieldToWindows(module.Context);
    EXPECT_EQ(fake.ui.pendingProcessed, passes) << "nothing waits: no event processing";
}

// A platform folder over 63 characters is left out; an unusable user name gives no own profile.
TEST_F(RunDriverTest, LocationsFollowThePlatformAndTheUser) {
    fake.system.userName = std::string(80, 'u');
    fake.system.windowsDirectory = "C:\\" + std::string(60, 'w');
    fake.system.systemDirectory = "C:\\" + std::string(61, 's');
    RunCleaning(module.Context);
    const RunLocations& loc = module.Run.Locations;
    EXPECT_EQ(loc.WindowsFolder + "|" + loc.SystemFolder, fake.system.windowsDirectory + "\\|");
    EXPECT_EQ(loc.UserName + loc.UserProfile + loc.UserLocal, "");
}

}  // namespace
}  // namespace kestrum
