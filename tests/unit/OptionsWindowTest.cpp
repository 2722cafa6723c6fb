// The options window on the fakes: load, the boxes' cascade, Save and its order, Clean Now,
// closing.
#include <gtest/gtest.h>

#include <set>

#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"
#include "ui/options/OptionsWindow.h"

namespace kestrum {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
const std::string kRun = "software\\microsoft\\windows\\currentversion\\run";
const std::string kCommand = "c:\\program files\\kestrum\\kestrum.exe /startup";

// A settings store that notes each write with how far the rest of Save had got by then.
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

struct Machine {
    fakes::FakePlatform fake;
    std::vector<std::string> opens;  // the stage of each registry open
    NotingStore store{fake.settings, [this] { return Stage(); }};
    KestrumModule module{Platform{fake.application, fake.system, store, fake.files, fake.clock,
                                  fake.ui, fake.shell, fake.registry, fake.power, fake.mail,
                                  fake.locale}};
    ShortcutContext links = module.Shortcuts();
    std::unique_ptr<OptionsWindow> w;

    explicit Machine(bool nt = true, std::uint32_t build = 2600) {
        fake.system.isNt = module.Startup.IsWindowsNT = nt;
        fake.system.buildNumber = build;
        fake.files.AddFolder("C:\\Program Files\\Kestrum");
        fake.settings.Put("ShowSplash", "0");
        // Windows has the start-up entries' keys and the shortcuts' folders.
        for (const std::string& key : {kRun, kRun + "once", kRun + "services"}) {
            fake.registry.Key(kUser, key);
            fake.registry.Key(kMachine, key);
        }
        for (const char* sub : {"Desktop", "Start Menu\\Programs",
                                "Application Data\\Microsoft\\Internet Explorer\\Quick Launch"}) {
            fake.files.AddFolder(CurrentProfileFolder(links) + sub);
        }
        fake.registry.onOpen = [this](RegistryHive, const std::string&) {
            opens.push_back(Stage());
        };
    }
    // Links made so far, and whether the list file is there.
    std::string Stage() {
        return std::to_string(fake.shell.links.size()) +
               (fake.files.FileExists(module.Startup.ListFilePath) ? "L" : "-");
    }
    // Starts as the program does; the entries stand for the list file's.
    OptionsWindow& Open(const std::vector<std::string>& list = {}) {
        InitializeStartupState(module);
        module.Options.SelectedFiles.insert(module.Options.SelectedFiles.end(), list.begin(),
                                            list.end());
        module.Options.SelectedFileCount = static_cast<std::int16_t>(list.size());
        w = std::make_unique<OptionsWindow>(module.Context, module.Options);
        w->Show();
        return *w;
    }
    // gOptions 1 to 4, "/", dOptions 1 to 9.
    std::string Boxes() {
        std::string ticks;
        for (int i = 1; i <= 13; ++i) {
            ticks += i == 5 ? "/" : "";
            ticks += (i <= 4 ? w->GeneralBox(i) : w->DeleteBox(i - 4)).Value() ? '1' : '0';
        }
        return ticks;
    }
    IControl& Control(const char* name) { return *w->window().Find(name); }
    std::string Default() { return w->window().DefaultButton()->Name(); }
    std::optional<std::string> Setting(const char* name) {
        return fake.settings.Read("Kestrum", "Settings", name);
    }
    void Click(const char* name) { fake.ui.Input(fakes::ClickOn{"Options", name}); }
};

// First use ticks start-up and desktop whatever the machine holds; a saved configuration shows the
// real entry (the machine's, else the user's) and shortcuts. Family and build gate DNS and
// prefetch, which then stay unticked and do not count against "All Options". The list's buttons
// follow "Delete select files?:" from the start.
TEST(OptionsWindow, LoadShowsTheStoredChoicesAndTheMachinesRealState) {
    const struct {
        bool nt;
        std::uint32_t build;
        const char *entry, *desktop;  // entry: Machine, User, X other in machine and right in user
        bool quickLaunch;
        const char *general, *del;  // stored; none on first use
        const char *boxes, *dnsPrefetchAllRunSaveUpdate;
    } cases[] = {
        {true, 2600, "", "", false, nullptr, nullptr, "1100/111111000", "110110"},
        {false, 0, "M", "", true, nullptr, nullptr, "1101/111111000", "000110"},
        {true, 2600, "U", "own", true, "111", "111111111", "1111/111111111", "111101"},
        {true, 2195, "M", "all", false, "001", "111111111", "1110/111111110", "101101"},
        {true, 2600, "X", "", false, "110", "000000100", "0000/000000100", "110101"},
        {false, 0, "M", "own", false, "100", "111111111", "1100/111111100", "001101"},
        {true, 1381, "", "", false, "000", "00000001", "0000/000000000", "000000"},
    };
    for (const auto& c : cases) {
        Machine m(c.nt, c.build);
        SCOPED_TRACE(c.boxes);
        const std::string key = c.nt ? kRun : kRun + "services";
        const std::string entry(c.entry),
            stored = "C:\\Program Files\\Kestrum\\KESTRUM.EXE /startup";
        if (entry == "M" || entry == "X") {
            m.fake.registry.SetText(kMachine, key, "Kestrum", entry == "M" ? stored : "c:\\x.exe");
        }
        if (entry == "U" || entry == "X") {
            m.fake.registry.SetText(kUser, key, "Kestrum", stored);
        }
        const std::string desktop(c.desktop);
        if (!desktop.empty()) {
            m.fake.files.AddFile((desktop == "own" ? CurrentProfileFolder(m.links)
                                                   : AllUsersProfileFolder(m.links)) +
                                     "Desktop\\Clean Now.lnk",
                                 "");
        }
        if (c.quickLaunch) {
            m.fake.files.AddFile(QuickLaunchShortcutPath(m.links, "Clean Now"), "");
        }
        if (c.general != nullptr) {
            m.fake.settings.Put("Defined", "Yes");
            m.fake.settings.Put("GeneralOptions", c.general);
            m.fake.settings.Put("DeleteOptions", c.del);
        }
        OptionsWindow& w = m.Open({"c:\\a.txt"});  // Update, Remove, Clear follow dOptions(7)
        EXPECT_EQ(m.Boxes(), c.boxes);
        const std::string states = {
            "01"[w.DeleteBox(8).Enabled()],          "01"[w.DeleteBox(9).Enabled()],
            "01"[w.AllOptionsBox().Value()],         "01"[m.Control("runButton").Enabled()],
            "01"[m.Control("saveButton").Enabled()], "01"[m.Control("updateButton").Enabled()]};
        EXPECT_EQ(states, c.dnsPrefetchAllRunSaveUpdate);
        EXPECT_EQ(m.Default(), c.general == nullptr ? "saveButton" : "cancelButton");
    }
}

// On 98 "All Options" ticks 1 to 7 and then shows ticked; unticking one box unticks it alone.
// Changing tabs moves the focus to the first box of the other tab.
TEST(OptionsWindow, AllOptionsCascadesToTheBoxesTheSystemCanClean) {
    Machine m(false, 0);
    OptionsWindow& w = m.Open();
    m.Click("AllOptions");
    EXPECT_FALSE(w.AllOptionsBox().Value()) << "the delete boxes are on their own tab";
    m.fake.ui.Input(fakes::ChooseTab{"Options", "SSTab1", 1});
    EXPECT_TRUE(w.DeleteBox(1).HasFocus());
    m.Click("AllOptions");
    EXPECT_EQ(m.Boxes(), "1100/111111100");
    EXPECT_TRUE(w.AllOptionsBox().Value());
    EXPECT_TRUE(m.Control("FileList").Enabled()) << "the list follows \"Delete select files?:\"";
    m.Click("dOptions(3)");
    EXPECT_EQ(m.Boxes(), "1100/110111100");
    EXPECT_FALSE(w.AllOptionsBox().Value());
    m.Click("AllOptions");
    m.Click("AllOptions");
    EXPECT_EQ(m.Boxes(), "1100/000000000");
    EXPECT_FALSE(m.Control("runButton").Enabled());
    EXPECT_FALSE(m.Control("FileList").Enabled());
    m.fake.ui.Input(fakes::ChooseTab{"Options", "SSTab1", 0});
    EXPECT_TRUE(w.GeneralBox(1).HasFocus());
}

// Without a delete choice the first Save warns on the delete tab and saves nothing, the second
// saves; touching a delete box in between re-arms the warning.
TEST(OptionsWindow, SavingNoDeleteChoiceWarnsOnceUntilADeleteBoxChanges) {
    Machine m;
    OptionsWindow& w = m.Open();
    w.AllOptionsBox().SetValue(true);
    w.AllOptionsBox().SetValue(false);
    const auto warnings = [&] {
        m.fake.ui.messages.clear();
        m.Click("saveButton");
        return m.fake.ui.messages.size();
    };
    EXPECT_EQ(warnings(), 1u);
    EXPECT_EQ(m.fake.ui.messages[0].title, " Delete Options");
    EXPECT_EQ(w.Tabs().Selected(), 1);
    EXPECT_FALSE(m.Setting("Defined"));
    m.Click("dOptions(2)");
    m.Click("dOptions(2)");
    EXPECT_EQ(warnings(), 1u) << "re-armed";
    EXPECT_EQ(warnings(), 0u);
    EXPECT_EQ(m.Setting("DeleteOptions"), "00000000000000000000");
    EXPECT_FALSE(m.Control("saveButton").Enabled());
}

// Save writes the user's start-up entry and drops the others, then the shortcuts, then the list
// file, then the settings with Defined last; unticked, the entry and the shortcuts go.
TEST(OptionsWindow, SaveWritesEntryShortcutsListAndSettingsInOrder) {
    Machine m;
    for (const std::string& key : {kRun, kRun + "once"}) {
        m.fake.registry.SetText(kMachine, key, "Kestrum", "old");
        m.fake.registry.SetText(kUser, key + "once", "Kestrum", "old");
    }
    OptionsWindow& w = m.Open({"c:\\a.txt", "c:\\temp\\"});
    m.module.Options.SelectedFiles = {""};  // the window's list is what counts
    w.GeneralBox(4).SetValue(true);
    m.opens.clear();
    ASSERT_TRUE(w.Save());
    EXPECT_EQ(m.fake.registry.Text(kUser, kRun, "Kestrum"), kCommand + '\0');
    EXPECT_EQ(m.fake.registry.ValueNames(kMachine, kRun).size() +
                  m.fake.registry.ValueNames(kMachine, kRun + "once").size() +
                  m.fake.registry.ValueNames(kUser, kRun + "once").size(),
              0u);
    const std::string desktop = CurrentProfileFolder(m.links) + "Desktop\\Clean Now.lnk";
    const std::string quick = QuickLaunchShortcutPath(m.links, "Clean Now");
    for (const std::string& link : {desktop, quick}) {
        EXPECT_EQ(m.fake.files.ReadTextFile(link), "C:\\Program Files\\Kestrum\\Kestrum.exe|/run");
    }
    EXPECT_EQ(m.fake.files.ReadTextFile(m.module.Startup.ListFilePath),
              "c:\\a.txt\r\nc:\\temp\\\r\n");
    EXPECT_EQ(m.module.Options.SelectedFiles.size(), 3u);
    EXPECT_EQ(m.opens, std::vector<std::string>(m.opens.size(), "0-")) << "the registry first";
    EXPECT_EQ(m.store.writes, (std::vector<std::string>{"ShowSplash@2L", "GeneralOptions@2L",
                                                        "DeleteOptions@2L", "Defined@2L"}));
    EXPECT_EQ(m.Setting("ShowSplash"), "0");
    EXPECT_EQ(m.Default(), "cancelButton");

    for (int i : {1, 2, 4}) {
        w.GeneralBox(i).SetValue(false);
    }
    ASSERT_TRUE(w.Save());
    EXPECT_EQ(m.fake.registry.ValueNames(kUser, kRun).size(), 0u);
    EXPECT_FALSE(m.fake.files.FileExists(desktop) || m.fake.files.FileExists(quick));

    // A list that cannot be written is said, and the window stays changed.
    m.fake.files.RemoveFile(m.module.Startup.ListFilePath);
    m.fake.files.AddFolder(m.module.Startup.ListFilePath);
    EXPECT_FALSE(w.Save());
    ASSERT_EQ(m.fake.ui.messages.size(), 1u);
    EXPECT_EQ(m.fake.ui.messages[0].text,
              std::string(kListNotWrittenMessage) + m.module.Startup.ListFilePath);
    EXPECT_TRUE(m.Control("saveButton").Enabled());
    m.fake.files.RemoveFolder(m.module.Startup.ListFilePath);
    m.fake.settings.failWrites = true;
    EXPECT_FALSE(w.Save());
    EXPECT_EQ(m.fake.ui.messages.back().text, kSettingsNotWrittenMessage);
}

// Closing with changes: Yes saves and closes, No closes, Cancel stays. Unchanged, F2 minimises
// and Close closes without asking.
TEST(OptionsWindow, ClosingWithChangesAsksWhetherToSave) {
    for (const auto answer : {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel}) {
        Machine m;
        OptionsWindow& w = m.Open();
        m.fake.ui.answers.push_back(answer);
        m.fake.ui.Input(fakes::PressKey{"Options", {keys::kEscape}});
        ASSERT_EQ(m.fake.ui.messages.size(), 1u);
        EXPECT_EQ(m.fake.ui.messages[0].title, " Exit Options Entry");
        EXPECT_EQ(w.window().Loaded(), answer == MessageAnswer::Cancel);
        EXPECT_EQ(m.Setting("Defined").has_value(), answer == MessageAnswer::Yes);
    }
    Machine m;
    m.fake.settings.Put("Defined", "Yes");
    OptionsWindow& w = m.Open();
    m.fake.ui.Input(fakes::PressKey{"Options", {keys::kF2}});
    EXPECT_EQ(w.window().State(), WindowState::Minimized);
    m.fake.ui.Input(fakes::PressKey{"Options", {keys::kF4}});
    EXPECT_EQ(m.fake.ui.Find("FindFiles"), nullptr) << "F4 without an entry browses nowhere";
    m.Click("cancelButton");
    EXPECT_FALSE(w.window().Loaded());
    EXPECT_TRUE(m.fake.ui.messages.empty());
}

// On each tab and below them nothing overlaps and every caption fits; no access key repeats.
TEST(OptionsWindow, LayoutLeavesEveryCaptionRoomAndEveryKeyUnique) {
    Machine m;
    OptionsWindow& w = m.Open();
    std::vector<std::vector<IControl*>> pages{
        {&w.SplashBox(), &m.Control("Label1")}, {&w.AllOptionsBox()}, {}};
    for (int i = 1; i <= 9; ++i) {
        if (i <= 4) {
            pages[0].push_back(&w.GeneralBox(i));
        }
        pages[1].push_back(&w.DeleteBox(i));
    }
    for (IControl* control : w.FileList().Controls()) {
        if (control->Visible()) {  // not the entry field, which lies over the list
            pages[1].push_back(control);
        }
    }
    for (const char* name : {"SSTab1", "saveButton", "runButton", "cancelButton", "HelpButton"}) {
        pages[2].push_back(&m.Control(name));
    }
    std::set<char> keys;
    for (const auto& page : pages) {
        for (IControl* control : page) {
            const TwipsRect r = control->Bounds();
            std::string caption = control->Text();
            if (const auto amp = caption.find('&'); amp != std::string::npos) {
                EXPECT_TRUE(keys.insert(static_cast<char>(std::tolower(caption[amp + 1]))).second)
                    << caption;
                caption.erase(amp, 1);
            }
            const int box = dynamic_cast<ICheckBox*>(control) != nullptr ? 300 : 0;
            EXPECT_LE(w.window().MeasureText(caption).width + box, r.width) << caption;
            for (IControl* other : page) {
                const TwipsRect o = other->Bounds();
                EXPECT_TRUE(other == control || r.left + r.width <= o.left ||
                            o.left + o.width <= r.left || r.top + r.height <= o.top ||
                            o.top + o.height <= r.top)
                    << caption << " / " << other->Text();
            }
        }
    }
    EXPECT_EQ(keys.size(), 22u) << "15 boxes, the list's 4 buttons, Save, Clean Now and Close";
}

}  // namespace
}  // namespace kestrum
