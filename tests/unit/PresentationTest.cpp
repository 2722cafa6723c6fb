// The About box and the splash screen on the fake toolkit.
#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"
#include "ui/options/AboutBox.h"
#include "ui/options/OptionsWindow.h"
#include "ui/options/SplashScreen.h"

namespace kestrum {
namespace {

constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
const std::string kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class PresentationTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    Platform platform = fake.services();
};

// A text value loses one stored NUL; what does not fit 1,024 characters or is missing reads as a
// failure; a value of another type reads as empty. The tool's own test below shows a missing key.
TEST_F(PresentationTest, GetKeyValueCutsTheStoredTerminatorAndRefusesWhatDoesNotFit) {
    fake.registry.SetText(kMachine, kInfoKey, "long", std::string(1024, 'x'));
    fake.registry.SetText(kMachine, kInfoKey, "fits", std::string(1023, 'x'));
    fake.registry.Key(kMachine, kInfoKey).Put({"raw", regtype::kText, "no terminator"});
    fake.registry.Key(kMachine, kInfoKey).Put({"count", regtype::kNumber, {}, 7});
    const struct {
        std::string value;
        bool ok;
        std::string text;
    } cases[] = {
        {"raw", true, "no terminator"},
        {"fits", true, std::string(1023, 'x')},
        {"long", false, ""},
        {"count", true, ""},
        {"missing", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::string text = "left over";
        EXPECT_EQ(GetKeyValue(fake.registry, kMachine, kInfoKey, c.value, text), c.ok);
        EXPECT_EQ(text, c.text);
    }
}

// The tool's path from its own key starts without a file check; else the folder from the
// location key must hold MSINFO32.EXE; else the tool is unavailable.
TEST_F(PresentationTest, SystemInfoStartsTheToolTheRegistryNamesOrSaysItIsUnavailable) {
    const struct {
        const char* path;      // under the tool's own key, or null
        const char* location;  // the tool's folder, or null
        bool toolThere;
        std::vector<std::string> started;
        bool unavailable;
    } cases[] = {
        {"C:\\nowhere\\info.exe", "C:\\tools", true, {"C:\\nowhere\\info.exe"}, true},
        {nullptr, "C:\\tools", true, {"C:\\tools\\MSINFO32.EXE"}, false},
        {nullptr, "C:\\tools", false, {}, true},
        {nullptr, nullptr, true, {}, true},
    };
    for (const auto& c : cases) {
        fakes::FakePlatform machine;
        if (c.path != nullptr) {
            machine.registry.SetText(kMachine, kInfoKey, "PATH", c.path);
        }
        if (c.location != nullptr) {
            machine.registry.SetText(kMachine, kLocationKey, "MSINFO", c.location);
        }
        if (c.toolThere) {
            machine.files.AddFile("C:\\tools\\MSINFO32.EXE", "tool");
        }
        const Platform services = machine.services();
        AboutBox about(services);
        about.Show();
        machine.ui.Input(fakes::ClickOn{"frmAbout", "cmdSysInfo"});
        EXPECT_EQ(machine.shell.started, c.started);
        EXPECT_EQ(machine.ui.messages.size(), c.unavailable ? 1u : 0u);
        EXPECT_TRUE(about.window().Loaded()) << "the box stays open";
    }
}

TEST_F(PresentationTest, TheMailLinkSignsOnOnceAndOffWhenTheBoxUnloads) {
    auto about = std::make_unique<AboutBox>(platform);
    about->Show();
    for (int click = 0; click < 2; ++click) {
        fake.ui.Input(fakes::ClickOn{"frmAbout", "EmailLink"});
    }
    fake.ui.Input(fakes::ClickOn{"frmAbout", "WebLink"});
    EXPECT_EQ(fake.mail.signOns, 1);
    EXPECT_EQ(fake.mail.sent,
              std::vector<std::string>(2, "41|support@kestrum.example|Kestrum, Version 1.6"));
    EXPECT_EQ(fake.shell.opened, std::vector<std::string>{"http://www.kestrum.example/"});
    EXPECT_TRUE(fake.ui.messages.empty());
    fake.ui.Input(fakes::PressKey{"frmAbout", {keys::kEscape}});
    EXPECT_FALSE(about->window().Loaded()) << "Esc closes the box";
    EXPECT_EQ(fake.mail.signedOff, std::vector<std::uint64_t>{41});

    // A mail client that cannot sign on, or cannot take the message, fails the same way.
    for (const bool signOnFails : {true, false}) {
        fake.mail.signOnFails = signOnFails;
        fake.mail.sendFails = !signOnFails;
        fake.ui.messages.clear();
        AboutBox failing(platform);
        failing.Show();
        fake.ui.Input(fakes::ClickOn{"frmAbout", "EmailLink"});
        EXPECT_EQ(fake.ui.messages.size(), 1u);
        EXPECT_TRUE(failing.window().Loaded());
    }
}

// "?" and F1 open one About box; the options window closes it when it is active again.
TEST_F(PresentationTest, TheOptionsWindowOpensTheAboutBoxAndClosesItWhenActivated) {
    fake.settings.Put("ShowSplash", "0");
    KestrumModule module{platform};
    OptionsWindow options(module.Context, module.Options);
    options.Show();
    for (const fakes::UserInput& input : std::vector<fakes::UserInput>{
             fakes::ClickOn{"Options", "HelpButton"}, fakes::PressKey{"Options", {keys::kF1}}}) {
        fake.ui.Input(input);
        ASSERT_NE(options.about(), nullptr);
        AboutBox* first = options.about();
        fake.ui.Input(fakes::PressKey{"Options", {keys::kF1}});
        EXPECT_EQ(options.about(), first) << "still the one box";
        fake.ui.Input(fakes::ActivateWindow{"Options"});
        EXPECT_EQ(options.about(), nullptr);
    }
    fake.ui.Input(fakes::PressKey{"Options", {keys::kF1}});
    fake.ui.answers.push_back(MessageAnswer::No);
    fake.ui.Input(fakes::ClickOn{"Options", "cancelButton"});
    EXPECT_FALSE(options.window().Loaded());
    EXPECT_EQ(options.about(), nullptr) << "the box goes with the window";
}

// Its three seconds are the interactive start's to show.
TEST_F(PresentationTest, TheSplashShowsTheVersionWithoutAFrame) {
    fake.application.version = {2, 10};
    SplashScreen splash(platform);
    EXPECT_EQ(splash.window().Find("Label(2)")->Text(), "Version 2.10");
    EXPECT_EQ(static_cast<fakes::FakeWindow&>(splash.window()).frame, WindowFrame::None);
}

// The splash holds an interactive start three seconds, unless the user chose to go without; the
// options window's box shows the choice. Only the number 1 chooses it.
TEST_F(PresentationTest, AnInteractiveStartShowsTheSplashOnlyWhenChosen) {
    for (const char* choice : {"1", "0", "01", "2", "yes"}) {
        SCOPED_TRACE(choice);
        fakes::FakePlatform machine;
        machine.settings.Write("Kestrum", "Settings", "ShowSplash", choice);
        KestrumModule module{machine.services()};
        const std::uint64_t start = machine.clock.NowMilliseconds();
        Main(module);
        const bool chosen = std::string(choice).find('1') != std::string::npos;
        EXPECT_EQ(machine.clock.NowMilliseconds() - start, chosen ? 3000u : 0u);
        EXPECT_TRUE(module.Window->window().Visible());
        const auto* box = dynamic_cast<ICheckBox*>(module.Window->window().Find("SplashCheck"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->Value(), chosen);
    }
}

}  // namespace
}  // namespace kestrum
