// The confirmation window of a "Clean Now" start on the fakes: its load per system, the boxes'
// cascade, and Clean Now and Cancel, each ending the program's only window.
#include <gtest/gtest.h>

#include "engine/CleaningSteps.h"
#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"
#include "ui/options/RunVerify.h"

namespace kestrum {
namespace {

// Stands in for the cleaning: notes each step with the delete choices it ran under.
struct Probe final : ICleaningSteps {
    std::vector<std::string> steps;
    std::function<void()> duringRun = [] {};
    void Run(CleaningStep step, RunContext& ctx) override {
        steps.push_back(std::to_string(static_cast<int>(step)) + ":" + ctx.Options.DeleteOptions);
        duringRun();
    }
};

struct Started {
    fakes::FakePlatform fake;
    KestrumModule module{fake.services()};
    Probe* probe = new Probe;
    RunVerify* w = nullptr;

    // A "/run" start with the stored choices and the list file's entries.
    explicit Started(const char* deleteOptions, bool nt = true, std::uint32_t build = 2600,
                     const std::string& list = "") {
        module.Context.Steps.reset(probe);
        fake.system.isNt = nt;
        fake.system.buildNumber = build;
        fake.files.AddFolder("C:\\Program Files\\Kestrum");
        fake.files.AddFile("C:\\Program Files\\Kestrum\\Kestrum.lst", list);
        fake.settings.Put("DeleteOptions", deleteOptions);
        fake.application.commandLine = "/run";
        EXPECT_EQ(Main(module), StartupOutcome::WindowShown);
        w = dynamic_cast<RunVerify*>(module.Window.get());
    }
    // "All Options", "/", then the nine boxes by index.
    std::string Boxes() {
        std::string ticks = w->AllOptionsBox().Value() ? "1/" : "0/";
        for (int i = 1; i <= 9; ++i) {
            ticks += w->DeleteBox(i).Value() ? '1' : '0';
        }
        return ticks;
    }
    void Click(const char* control) { fake.ui.Input(fakes::ClickOn{"RunVerify", control}); }
};

// The boxes show the stored choices; Windows 98 has neither the DNS cache nor prefetch files, so
// those boxes are disabled and unticked whatever is stored, and "All Options" shows ticked
// without them; Clean Now stays enabled with nothing ticked. The list shows the entries
// shortened, none selected until it has the focus.
TEST(RunVerify, LoadShowsTheStoredChoicesTheSystemAllowsAndTheList) {
    Started nine("111111111", false);
    EXPECT_EQ(nine.Boxes(), "1/111111100");
    EXPECT_FALSE(nine.w->DeleteBox(8).Enabled() || nine.w->DeleteBox(9).Enabled());
    nine.Click("AllOptions");
    EXPECT_EQ(nine.Boxes(), "0/000000000");
    EXPECT_TRUE(nine.fake.ui.Find("RunVerify")->Find("runButton")->Enabled());

    Started s("110000001", true, 2600,
              "c:\\a.txt\r\nc:\\a rather long folder name\\and then another long one\\x.txt\r\n");
    EXPECT_EQ(s.Boxes(), "0/110000001");
    IListBox& list = s.w->FileList();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemText(0), "c:\\a.txt");
    EXPECT_EQ(list.ItemText(1).substr(0, 7), "c:\\ ...") << "shortened, keeping the drive";
    EXPECT_EQ(list.SelectedIndex(), -1);
    EXPECT_TRUE(s.fake.ui.Find("RunVerify")->Find("runButton")->HasFocus());
    list.SetFocus();
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_EQ(s.w->window().DefaultButton()->Name(), "runButton");
}

// Clean Now runs this once with the window's choices, hidden behind the progress window, stores
// nothing, reports and ends; a cancelled run reports only that it stopped. Cancel, Esc and the
// window's close run nothing. F2 minimises.
TEST(RunVerify, CleanNowRunsOnceWithTheseChoicesAndCancelRunsNothing) {
    for (const bool cancel : {false, true}) {
        Started s("111100000");
        bool hiddenBehindBanner = false;
        s.probe->duringRun = [&] {
            hiddenBehindBanner =
                !s.fake.ui.Find("RunVerify")->Visible() && s.fake.ui.Find("Banner") != nullptr;
            if (cancel) {
                s.fake.ui.Input(fakes::ClickOn{"Banner", "cancelButton"});
            }
        };
        s.Click("dOptions(2)");
        s.fake.ui.Input(fakes::PressKey{"RunVerify", {keys::kEnter}});
        ASSERT_FALSE(s.probe->steps.empty());
        EXPECT_EQ(s.probe->steps[0], "0:10110000000000000000") << "history first, cookies off";
        EXPECT_EQ(s.probe->steps.size(), cancel ? 1u : 4u) << "then recent, temporary and registry";
        EXPECT_TRUE(hiddenBehindBanner);
        EXPECT_EQ(s.fake.settings.Read("Kestrum", "Settings", "DeleteOptions"), "111100000");
        ASSERT_EQ(s.fake.ui.messages.size(), 1u);
        EXPECT_EQ(s.fake.ui.messages[0].text,
                  cancel ? "The Kestrum process was successfully stopped"
                         : "The Kestrum process was successfully completed");
        EXPECT_EQ(s.fake.ui.Find("RunVerify"), nullptr) << "the program ends";
    }
    for (const fakes::UserInput& input :
         {fakes::UserInput(fakes::ClickOn{"RunVerify", "cancelButton"}),
          fakes::UserInput(fakes::PressKey{"RunVerify", {keys::kEscape}}),
          fakes::UserInput(fakes::CloseWindow{"RunVerify"})}) {
        Started s("111100000");
        s.fake.ui.Input(fakes::PressKey{"RunVerify", {keys::kF2}});
        EXPECT_EQ(s.w->window().State(), WindowState::Minimized);
        s.fake.ui.Input(input);
        EXPECT_TRUE(s.probe->steps.empty());
        EXPECT_EQ(s.fake.ui.Find("RunVerify"), nullptr);
    }
}

// With the list empty and "Delete select files?:" ticked, the real run removes no file.
TEST(RunVerify, AnEmptyListDeletesNoSelectedFile) {
    Started s("000000100");
    s.module.Context.Steps = std::make_unique<CategorySteps>();
    s.fake.files.AddFile("C:\\Work\\keep.txt", "x");
    s.Click("runButton");
    EXPECT_TRUE(s.fake.files.FileExists("C:\\Work\\keep.txt"));
    EXPECT_TRUE(s.fake.files.FileExists("C:\\Program Files\\Kestrum\\Kestrum.lst"));
    EXPECT_EQ(s.fake.ui.Find("RunVerify"), nullptr);
}

}  // namespace
}  // namespace kestrum
