// The options window on the fakes: what it loads, how the boxes depend on each other, what Save
// writes and in which order, Clean Now and closing.
#include <gtest/gtest.h>

#include <set>

#include "engine/CleaningSteps.h"
#include "engine/Completion.h"
#include "fakes/FakePlatform.h"
#include "shortcuts/ShortcutMaintenance.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"
#include "ui/options/OptionsWindow.h"

namespace kestrum {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
const std::string kRun = "software\\microsoft\\windows\\currentversion\\run";
const std::string kRunServices = "software\\microsoft\\windows\\currentversion\\runservices";
const std::string kCommand = "c:\\program files\\kestrum\\kestrum.exe /startup";

// Settings store that notes every write, with how far the rest of Save had got by then.
struct NotingStore final : ISettingsStore {
    fakes::FakeSettingsStore& inner;
    std::function<std::string()> stage;
    std::vector<std::string> writes;
    NotingStore(fakes::FakeSettingsStore& store, std::function<std::string()> now)
        : inner(store), stage(std::move(now)) {}
    std::optional<std::string> Read(const std::string& a, const std::string& s,
                                    const std::string& n) override {
        return inner.Read(a, s, n);
    }
    bool Write(const std::string& a, const std::string& s, const std::string& n,
               const std::string& v) override {
        writes.push_back(n + "@" + stage());
        return inner.Write(a, s, n, v);
    }
};

// Stands in for the cleaning and notes the delete choices each run was given.
struct Probe final : ICleaningSteps {
    std::vector<std::string> runs;
    void Run(CleaningStep step, RunContext& ctx) override {
        if (step == CleaningStep::RegistryHistory) {
            runs.push_back(ctx.Options.DeleteOptions);
        }
    }
};

struct Machine {
    fakes::FakePlatform fake;
    std::vector<std::string> stages;  // registry opens, each with the stage it came at
    NotingStore store{fake.settings, [this] { return Stage(); }};
    Platform services{fake.application, fake.system,   store,      fake.files, fake.clock, fake.ui,
                      fake.shell,       fake.registry, fake.power, fake.mail,  fake.locale};
    KestrumModule module{services};
    std::unique_ptr<OptionsWindow> options;

    explicit Machine(bool nt = true, std::uint32_t build = 2600) {
        fake.system.isNt = nt;
        fake.system.buildNumber = build;
        module.Startup.IsWindowsNT = nt;
        fake.files.AddFolder("C:\\Program Files\\Kestrum");
        fake.settings.Put("ShowSplash", "0");
        // Windows has the keys of the start-up entries, and the folders of the shortcuts.
        for (const RegistryHive hive : {kUser, kMachine}) {
            for (const std::string& key : {kRun, kRun + "once", kRunServices}) {
                fake.registry.Key(hive, key);
            }
        }
        AddProfileFolders();
        fake.registry.onOpen = [this](RegistryHive, const std::string&) {
            stages.push_back(Stage());
        };
    }
    // Links made so far, and whether the list file is there.
    std::string Stage() {
        return std::to_string(fake.shell.links.size()) +
               (fake.files.FileExists(module.Startup.ListFilePath) ? "L" : "-");
    }
    ShortcutContext Shortcuts() { return module.Shortcuts(); }
    std::string DesktopLink(const std::string& profile) {
        return profile + "Desktop\\Clean Now.lnk";
    }
    void AddProfileFolders() {
        const std::string profile = CurrentProfileFolder(Shortcuts());
        for (const char* sub : {"Desktop", "Start Menu\\Programs",
                                "Application Data\\Microsoft\\Internet Explorer\\Quick Launch"}) {
            fake.files.AddFolder(profile + sub);
        }
    }
    // Starts as the program does; a list given stands for the list file's entries.
    OptionsWindow& Open(const std::vector<std::string>& list = {}) {
        InitializeStartupState(module);
        for (const std::string& entry : list) {
            module.Options.SelectedFiles.push_back(entry);
            ++module.Options.SelectedFileCount;
        }
        options = std::make_unique<OptionsWindow>(module.Context, module.Options);
        options->Show();
        return *options;
    }
    std::string Boxes(ICheckBox& (OptionsWindow::*box)(int), int count) {
        std::string ticks;
        for (int i = 1; i <= count; ++i) {
            ticks += ((*options).*box)(i).Value() ? '1' : '0';
        }
        return ticks;
    }
    IControl& Control(const char* name) { return *fake.ui.Find("Options")->Find(name); }
    bool Enabled(const char* name) { return Control(name).Enabled(); }
    std::string DefaultButton() {
        IPushButton* button = options->window().DefaultButton();
        return button != nullptr ? button->Name() : "none";
    }
    std::optional<std::string> Setting(const char* name) {
        return fake.settings.Read("Kestrum", "Settings", name);
    }
};

enum class Entry { None, Machine, User, OtherInMachineRightInUser };
enum class Desktop { None, Own, AllUsers };

// First use ticks start-up and desktop whatever the machine holds; a saved configuration shows
// the machine's real entry and shortcuts. The family and build gate DNS and prefetch, which then
// neither count against "All Options" nor stay ticked.
TEST(OptionsWindow, LoadShowsTheStoredChoicesAndTheMachinesRealState) {
    const struct {
        const char* name;
        bool nt;
        std::uint32_t build;
        bool defined;
        Entry entry;
        Desktop desktop;
        bool quickLaunch;
        const char *general, *del;
        const char *generalBoxes, *deleteBoxes;  // gOptions 1 to 4, dOptions 1 to 9
        bool dns, prefetch, all, run;
    } cases[] = {
        {"first use", true, 2600, false, Entry::None, Desktop::None, false, nullptr, nullptr,
         "1100", "111111000", true, true, false, true},
        {"first use, 98", false, 0, false, Entry::Machine, Desktop::None, true, nullptr, nullptr,
         "1101", "111111000", false, false, false, true},
        {"xp, user entry", true, 2600, true, Entry::User, Desktop::Own, true, "111", "111111111",
         "1111", "111111111", true, true, true, true},
        {"2000, machine entry", true, 2195, true, Entry::Machine, Desktop::AllUsers, false, "001",
         "111111111", "1110", "111111110", true, false, true, true},
        {"xp, another command", true, 2600, true, Entry::OtherInMachineRightInUser, Desktop::None,
         false, "110", "000000100", "0000", "000000100", true, true, false, true},
        {"98, machine entry", false, 0, true, Entry::Machine, Desktop::Own, false, "100",
         "111111111", "1100", "111111100", false, false, true, true},
        {"nt4, nothing", true, 1381, true, Entry::None, Desktop::None, false, "000", "00000001",
         "0000", "000000000", false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m(c.nt, c.build);
        const std::string key = c.nt ? kRun : kRunServices;
        const std::string stored = "C:\\Program Files\\Kestrum\\KESTRUM.EXE /startup";
        if (c.entry == Entry::Machine) {
            m.fake.registry.SetText(kMachine, key, "Kestrum", stored);
        } else if (c.entry == Entry::User) {
            m.fake.registry.SetText(kUser, key, "Kestrum", stored);
        } else if (c.entry == Entry::OtherInMachineRightInUser) {
            m.fake.registry.SetText(kMachine, key, "Kestrum", "c:\\other.exe /startup");
            m.fake.registry.SetText(kUser, key, "Kestrum", stored);
        }
        if (c.desktop != Desktop::None) {
            const std::string profile = c.desktop == Desktop::Own
                                            ? CurrentProfileFolder(m.Shortcuts())
                                            : AllUsersProfileFolder(m.Shortcuts());
            m.fake.files.AddFile(m.DesktopLink(profile), "link");
        }
        if (c.quickLaunch) {
            m.fake.files.AddFile(QuickLaunchShortcutPath(m.Shortcuts(), "Clean Now"), "link");
        }
        if (c.defined) {
            m.fake.settings.Put("Defined", "Yes");
            m.fake.settings.Put("GeneralOptions", c.general + std::string(17, '0'));
            m.fake.settings.Put("DeleteOptions", c.del);
        }
        OptionsWindow& w = m.Open();
        EXPECT_EQ(m.Boxes(&OptionsWindow::GeneralBox, 4), c.generalBoxes);
        EXPECT_EQ(m.Boxes(&OptionsWindow::DeleteBox, 9), c.deleteBoxes);
        EXPECT_EQ(w.DeleteBox(8).Enabled(), c.dns);
        EXPECT_EQ(w.DeleteBox(9).Enabled(), c.prefetch);
        EXPECT_EQ(w.AllOptionsBox().Value(), c.all);
        EXPECT_EQ(m.Enabled("runButton"), c.run);
        EXPECT_EQ(m.Enabled("saveButton"), !c.defined);
        EXPECT_EQ(m.DefaultButton(), c.defined ? "cancelButton" : "saveButton");
        EXPECT_EQ(w.Tabs().Selected(), 0);
    }
}

// On 98 "All Options" ticks 1 to 7 and then shows ticked; unticking one box unticks it alone.
TEST(OptionsWindow, AllOptionsCascadesToTheBoxesTheSystemCanClean) {
    Machine m(false, 0);
    OptionsWindow& w = m.Open();
    m.fake.ui.Input(fakes::ChooseTab{"Options", "SSTab1", 1});
    EXPECT_TRUE(w.DeleteBox(1).HasFocus());
    m.fake.ui.Input(fakes::ClickOn{"Options", "AllOptions"});
    EXPECT_EQ(m.Boxes(&OptionsWindow::DeleteBox, 9), "111111100");
    EXPECT_TRUE(w.AllOptionsBox().Value());
    EXPECT_TRUE(m.Enabled("FileList")) << "the list follows \"Delete select files?:\"";
    m.fake.ui.Input(fakes::ClickOn{"Options", "dOptions(3)"});
    EXPECT_EQ(m.Boxes(&OptionsWindow::DeleteBox, 9), "110111100");
    EXPECT_FALSE(w.AllOptionsBox().Value());
    m.fake.ui.Input(fakes::ClickOn{"Options", "AllOptions"});
    m.fake.ui.Input(fakes::ClickOn{"Options", "AllOptions"});
    EXPECT_EQ(m.Boxes(&OptionsWindow::DeleteBox, 9), "000000000");
    EXPECT_FALSE(m.Enabled("runButton"));
    EXPECT_FALSE(m.Enabled("FileList"));
    m.fake.ui.Input(fakes::ChooseTab{"Options", "SSTab1", 0});
    EXPECT_TRUE(w.GeneralBox(1).HasFocus());
}

// Without a delete choice the first Save warns and saves nothing, the second saves; touching a
// delete box in between asks again.
TEST(OptionsWindow, SavingNoDeleteChoiceWarnsOnceUntilADeleteBoxChanges) {
    Machine m;
    OptionsWindow& w = m.Open();
    w.AllOptionsBox().SetValue(true);
    w.AllOptionsBox().SetValue(false);
    const auto save = [&] {
        m.fake.ui.messages.clear();
        m.fake.ui.Input(fakes::ClickOn{"Options", "saveButton"});
        return m.fake.ui.messages.size();
    };
    EXPECT_EQ(save(), 1u);
    EXPECT_EQ(m.fake.ui.messages[0].title, " Delete Options");
    EXPECT_EQ(w.Tabs().Selected(), 1);
    EXPECT_FALSE(m.Setting("Defined"));
    EXPECT_TRUE(m.Enabled("saveButton"));
    for (int click = 0; click < 2; ++click) {
        m.fake.ui.Input(fakes::ClickOn{"Options", "dOptions(2)"});
    }
    EXPECT_EQ(save(), 1u) << "re-armed";
    EXPECT_EQ(save(), 0u);
    EXPECT_EQ(m.Setting("DeleteOptions"), "00000000000000000000");
    EXPECT_FALSE(m.Enabled("saveButton"));
}

// Save writes the start-up entry, then the shortcuts, then the list file, then the settings with
// Defined last; unticked, the entry and the shortcuts go again.
TEST(OptionsWindow, SaveWritesEntryShortcutsListAndSettingsInOrder) {
    Machine m;
    for (const std::string& key : {kRun, kRun + "once"}) {
        m.fake.registry.SetText(kMachine, key, "Kestrum", "old");
    }
    m.fake.registry.SetText(kUser, kRun + "once", "Kestrum", kCommand);
    OptionsWindow& w = m.Open({"c:\\a.txt", "c:\\temp\\"});
    m.module.Options.SelectedFiles = {""};  // the window's list is what Save writes
    w.GeneralBox(4).SetValue(true);
    w.SplashBox().SetValue(false);
    m.stages.clear();
    ASSERT_TRUE(w.Save());

    EXPECT_EQ(m.fake.registry.Text(kUser, kRun, "Kestrum"), kCommand + '\0');
    for (const auto& [hive, key] : std::vector<std::pair<RegistryHive, std::string>>{
             {kMachine, kRun}, {kMachine, kRun + "once"}, {kUser, kRun + "once"}}) {
        EXPECT_FALSE(m.fake.registry.Text(hive, key, "Kestrum")) << key;
    }
    const std::string target = "C:\\Program Files\\Kestrum\\Kestrum.exe|/run";
    const std::string desktop = m.DesktopLink(CurrentProfileFolder(m.Shortcuts()));
    const std::string quick = QuickLaunchShortcutPath(m.Shortcuts(), "Clean Now");
    EXPECT_EQ(m.fake.files.ReadTextFile(desktop), target);
    EXPECT_EQ(m.fake.files.ReadTextFile(quick), target);
    EXPECT_EQ(m.fake.files.ReadTextFile(m.module.Startup.ListFilePath),
              "c:\\a.txt\r\nc:\\temp\\\r\n");
    EXPECT_EQ(m.module.Options.SelectedFileCount, 2);
    EXPECT_EQ(m.stages, std::vector<std::string>(m.stages.size(), "0-")) << "registry first";
    EXPECT_EQ(m.store.writes, (std::vector<std::string>{"ShowSplash@2L", "GeneralOptions@2L",
                                                        "DeleteOptions@2L", "Defined@2L"}));
    EXPECT_EQ(m.Setting("ShowSplash"), "0");
    EXPECT_EQ(m.Setting("GeneralOptions"), "11000000000000000000");
    EXPECT_EQ(m.DefaultButton(), "cancelButton");

    for (int i : {1, 2, 4}) {
        w.GeneralBox(i).SetValue(false);
    }
    ASSERT_TRUE(w.Save());
    EXPECT_TRUE(m.fake.registry.ValueNames(kUser, kRun).empty());
    EXPECT_FALSE(m.fake.files.FileExists(desktop));
    EXPECT_FALSE(m.fake.files.FileExists(quick));
}

// Yes saves and closes, No closes without saving, Cancel keeps the window; unchanged, it closes
// without asking.
TEST(OptionsWindow, ClosingWithChangesAsksWhetherToSave) {
    const struct {
        MessageAnswer answer;
        bool stays, saved;
    } cases[] = {{MessageAnswer::Yes, false, true},
                 {MessageAnswer::No, false, false},
                 {MessageAnswer::Cancel, true, false}};
    for (const auto& c : cases) {
        Machine m;
        OptionsWindow& w = m.Open();
        m.fake.ui.answers.push_back(c.answer);
        m.fake.ui.Input(fakes::PressKey{"Options", {keys::kEscape}});
        ASSERT_EQ(m.fake.ui.messages.size(), 1u);
        EXPECT_EQ(m.fake.ui.messages[0].title, " Exit Options Entry");
        EXPECT_EQ(m.fake.ui.messages[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(w.window().Loaded(), c.stays);
        EXPECT_EQ(m.Setting("Defined").has_value(), c.saved);
    }
    Machine m;
    m.fake.settings.Put("Defined", "Yes");
    OptionsWindow& w = m.Open();
    m.fake.ui.Input(fakes::PressKey{"Options", {keys::kF2}});
    EXPECT_EQ(w.window().State(), WindowState::Minimized);
    m.fake.ui.Input(fakes::ClickOn{"Options", "cancelButton"});
    EXPECT_FALSE(w.window().Loaded());
    EXPECT_TRUE(m.fake.ui.messages.empty());
}

// Clean Now runs with the window's choices, saved or not, and leaves the store as it was.
TEST(OptionsWindow, CleanNowRunsWithUnsavedChoices) {
    Machine m;
    auto* probe = new Probe;
    m.module.Context.Steps.reset(probe);
    m.fake.settings.Put("Defined", "Yes");
    OptionsWindow& w = m.Open();
    m.fake.ui.Input(fakes::ChooseTab{"Options", "SSTab1", 1});
    m.fake.ui.Input(fakes::ClickOn{"Options", "dOptions(1)"});
    m.fake.ui.Input(fakes::ClickOn{"Options", "runButton"});
    EXPECT_EQ(probe->runs, std::vector<std::string>{"01111100000000000000"});
    EXPECT_FALSE(m.Setting("DeleteOptions"));
    EXPECT_TRUE(w.window().Visible());
    EXPECT_TRUE(m.Control("cancelButton").HasFocus());
    ASSERT_EQ(m.fake.ui.messages.size(), 1u);
    EXPECT_EQ(m.fake.ui.messages[0].text, kCompletedMessage);
}

// Nothing overlaps on a page, every caption fits its place, and no two access keys are alike.
TEST(OptionsWindow, LayoutLeavesEveryCaptionRoomAndEveryKeyUnique) {
    Machine m;
    OptionsWindow& w = m.Open();
    const TwipsRect tabs = w.Tabs().Bounds();
    std::vector<std::vector<IControl*>> pages(3);
    for (int i = 1; i <= 4; ++i) {
        pages[0].push_back(&w.GeneralBox(i));
    }
    pages[0].push_back(&w.SplashBox());
    pages[0].push_back(&m.Control("Label1"));
    pages[1].push_back(&w.AllOptionsBox());
    for (int i = 1; i <= 9; ++i) {
        pages[1].push_back(&w.DeleteBox(i));
    }
    for (IControl* control : w.FileList().Controls()) {
        if (control->Name() != "InputField" && control->Name() != "InputButton") {
            pages[1].push_back(control);
        }
    }
    for (const char* name : {"SSTab1", "saveButton", "runButton", "cancelButton", "HelpButton"}) {
        pages[2].push_back(&m.Control(name));
    }
    std::set<char> keys;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        for (IControl* control : pages[page]) {
            const TwipsRect r = control->Bounds();
            SCOPED_TRACE(control->Name());
            const TwipsRect within = page < 2 ? tabs : TwipsRect{0, 0, 7080, 6120};
            EXPECT_TRUE(r.left >= within.left && r.top >= within.top + (page < 2 ? 420 : 0) &&
                        r.left + r.width <= within.left + within.width &&
                        r.top + r.height <= within.top + within.height);
            std::string caption = control->Text();
            if (const auto amp = caption.find('&'); amp != std::string::npos) {
                EXPECT_TRUE(keys.insert(static_cast<char>(std::tolower(caption[amp + 1]))).second)
                    << caption;
                caption.erase(amp, 1);
            }
            const int box = dynamic_cast<ICheckBox*>(control) != nullptr ? 300 : 0;
            EXPECT_LE(w.window().MeasureText(caption).width + box, r.width) << caption;
            for (IControl* other : pages[page]) {
                const TwipsRect o = other->Bounds();
                const bool apart = r.left + r.width <= o.left || o.left + o.width <= r.left ||
                                   r.top + r.height <= o.top || o.top + o.height <= r.top;
                EXPECT_TRUE(other == control || other->Name() == "SSTab1" ||
                            control->Name() == "SSTab1" || apart)
                    << other->Name();
            }
        }
    }
    EXPECT_EQ(keys.size(), 22u) << "15 boxes, 4 list buttons and Save, Clean Now, Close";
}

}  // namespace
}  // namespace kestrum
