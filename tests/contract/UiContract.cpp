// The toolkit's promises, held once against IUiToolkit and run on every toolkit through its
// driver: the fake natively, the Win32 toolkit under Wine.
#include "contract/UiContract.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace kestrum::contract {
namespace {

using Log = std::vector<std::string>;

class UiContract : public ::testing::Test {
  protected:
    std::unique_ptr<UiDriver> driver = MakeUiDriver();
    IUiToolkit& ui = driver->ui();

    // A shown window with a Save and a Close button and a check box, logging their clicks.
    struct Dialog {
        std::unique_ptr<IWindow> window;
        IPushButton* save = nullptr;
        IPushButton* close = nullptr;
        ICheckBox* box = nullptr;
        Log log;
    };
    std::unique_ptr<Dialog> MakeDialog(const std::string& name) {
        auto d = std::make_unique<Dialog>();
        Dialog& r = *d;
        r.window = ui.CreateTopWindow(name, " Contract " + name, 4800, 2400);
        r.box = &r.window->AddCheckBox("boxCheck", {240, 240, 2400, 300}, "&Wipe files");
        r.save = &r.window->AddPushButton("saveButton", {240, 1500, 1200, 420}, "&Save");
        r.close = &r.window->AddPushButton("closeButton", {1680, 1500, 1200, 420}, "Close");
        r.save->SetOnClick([&r] { r.log.push_back("save"); });
        r.close->SetOnClick([&r] { r.log.push_back("close"); });
        r.box->SetOnClick([&r] { r.log.push_back(r.box->Value() ? "box on" : "box off"); });
        r.window->Show();
        ui.ProcessPendingEvents();
        return d;
    }
};

TEST_F(UiContract, CheckBoxClicksOncePerChangeOfItsValue) {
    auto d = MakeDialog("Check");
    for (bool value : {true, true, false}) {
        d->box->SetValue(value);
    }
    EXPECT_EQ(d->log, (Log{"box on", "box off"})) << "from code: once per change, after it";
    driver->Click(*d->window, "boxCheck");
    driver->Click(*d->window, "boxCheck");
    EXPECT_EQ(d->log, (Log{"box on", "box off", "box on", "box off"})) << "the user's clicks";
}

TEST_F(UiContract, DisabledOrHiddenControlsIgnoreInput) {
    auto d = MakeDialog("Disabled");
    d->save->SetEnabled(false);
    d->box->SetEnabled(false);
    d->close->SetVisible(false);
    d->window->SetDefaultButton(d->save);
    for (const char* control : {"saveButton", "boxCheck", "closeButton"}) {
        driver->Click(*d->window, control);
    }
    driver->PressKey(*d->window, keys::kEnter);
    EXPECT_EQ(d->log, Log{});

    d->save->SetEnabled(true);
    d->close->SetVisible(true);
    driver->Click(*d->window, "saveButton");
    driver->Click(*d->window, "closeButton");
    EXPECT_EQ(d->log, (Log{"save", "close"}));
}

TEST_F(UiContract, EnterClicksTheCurrentDefaultOrFocusedButtonAndEscTheCancelButton) {
    enum Pick { kNone, kSave, kClose };
    const struct {
        const char* what;
        Pick defaultButton, cancelButton;
        bool focusOnSave;  // else on the check box
        int key;
        Log clicked;
    } cases[] = {
        {"Enter: the default button", kSave, kNone, false, keys::kEnter, {"save"}},
        {"Enter after the default moved", kClose, kNone, false, keys::kEnter, {"close"}},
        {"Enter on a focused push button: that one", kClose, kNone, true, keys::kEnter, {"save"}},
        {"Enter without a default button: nothing", kNone, kClose, false, keys::kEnter, {}},
        {"Esc: the cancel button", kSave, kClose, false, keys::kEscape, {"close"}},
        {"Esc without a cancel button: nothing", kClose, kNone, false, keys::kEscape, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto d = MakeDialog("Keys");
        auto pick = [&d](Pick p) {
            return p == kSave ? d->save : p == kClose ? d->close : nullptr;
        };
        d->window->SetDefaultButton(d->save);
        d->window->SetDefaultButton(pick(c.defaultButton));
        d->window->SetCancelButton(pick(c.cancelButton));
        (c.focusOnSave ? static_cast<IControl*>(d->save) : d->box)->SetFocus();
        driver->PressKey(*d->window, c.key);
        EXPECT_EQ(d->log, c.clicked) << "a key is no click on the check box";
        EXPECT_TRUE(d->window->Loaded()) << "Esc is the cancel button's click, not a close";
    }
}

TEST_F(UiContract, KeyPreviewSeesKeysFirstAndMayConsumeThem) {
    auto d = MakeDialog("Preview");
    d->window->SetDefaultButton(d->save);
    d->window->SetCancelButton(d->close);
    d->window->SetOnKeyPreview([&](const KeyEvent& key) {
        d->log.push_back("key " + std::to_string(key.key));
        return key.key == keys::kEnter;
    });
    d->box->SetFocus();
    driver->PressKey(*d->window, keys::kEnter);
    driver->PressKey(*d->window, keys::kEscape);
    EXPECT_EQ(d->log, (Log{"key 13", "key 27", "close"}));
}

TEST_F(UiContract, ModalShowReturnsOnceTheWindowUnloadsAndTimersTick) {
    auto owner = MakeDialog("Owner");
    auto modal = ui.CreateTopWindow("Modal", " Contract Modal", 3000, 1500);
    std::unique_ptr<IWindow> other;
    Log active;
    owner->window->SetOnDeactivate([&] { active.push_back("owner off"); });
    modal->SetOnActivate([&] { active.push_back("modal on"); });
    modal->SetOnDeactivate([&] { active.push_back("modal off"); });
    int ticks = 0;
    modal->StartTimer(7, 30, [&] {
        if (++ticks == 1) {
            driver->Click(*owner->window, "saveButton");
        } else if (ticks == 2) {
            other = ui.CreateTopWindow("Other", " Contract Other", 3000, 1500);
            other->Show();
        } else if (ticks == 3) {
            modal->Unload();
        }
    });
    modal->ShowModal();
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(owner->log, Log{}) << "the other windows ignore input meanwhile";
    EXPECT_EQ(active, (Log{"owner off", "modal on", "modal off"})) << "each window it shows";
    driver->Click(*owner->window, "saveButton");
    EXPECT_EQ(owner->log, Log{"save"}) << "and take it again afterwards";
}

TEST_F(UiContract, QueryUnloadMayKeepTheWindowOpenUnlessForced) {
    auto d = MakeDialog("Query");
    std::vector<CloseReason> asked;
    d->window->SetOnQueryUnload([&](CloseReason reason) {
        asked.push_back(reason);
        return true;
    });
    d->window->SetOnUnload([&] { d->log.push_back("unload"); });
    driver->Close(*d->window);
    EXPECT_FALSE(d->window->Unload());
    EXPECT_TRUE(d->window->Loaded());
    EXPECT_EQ(d->log, Log{});
    EXPECT_TRUE(d->window->Unload(true));
    EXPECT_FALSE(d->window->Loaded());
    EXPECT_EQ(d->log, Log{"unload"});
    EXPECT_EQ(asked, (std::vector<CloseReason>{CloseReason::User, CloseReason::Code}))
        << "a forced unload asks nobody";
}

TEST_F(UiContract, AThrowingHandlerIsPassedOver) {
    auto d = MakeDialog("Throw");
    d->save->SetOnClick([] { throw std::runtime_error("handler failed"); });
    d->window->SetDefaultButton(d->close);
    d->window->SetOnKeyPreview(
        [](const KeyEvent&) -> bool { throw std::runtime_error("preview failed"); });
    int ticks = 0;
    d->window->StartTimer(3, 20, [&] {
        ++ticks;
        throw std::runtime_error("timer failed");
    });
    driver->Click(*d->window, "saveButton");
    driver->Click(*d->window, "saveButton");
    d->box->SetFocus();
    driver->PressKey(*d->window, keys::kEnter);
    EXPECT_EQ(d->log, Log{"close"}) << "a preview that throws consumed nothing";
    // Generous: a loaded two-core machine under Wine.
    EXPECT_TRUE(driver->WaitUntil([&] { return ticks >= 2; }, 10000)) << "the timer runs on";
}

TEST_F(UiContract, APopUpMenuAnswersTheChosenEnabledItem) {
    auto d = MakeDialog("Menu");
    d->window->SetCancelButton(d->close);
    const std::vector<MenuItem> items{{"Add"}, {"Update", false}, {"Remove"}};
    const struct {
        const char* choose;
        std::optional<std::size_t> chosen;
    } cases[] = {{"Remove", 2}, {"Add", 0}, {"Update", std::nullopt}, {"", std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.choose);
        driver->ChooseOnNextMenu(c.choose);
        EXPECT_EQ(d->window->ShowPopupMenu(items, 600, 300), c.chosen);
    }
    ui.ProcessPendingEvents();
    EXPECT_EQ(d->log, Log{}) << "no key meant for the menu reaches the window";
}

// An owner-drawn control takes Enter itself while it has the focus, but no click from the space
// bar, and hands its clicks and focus on; the window's default button gets no Enter meanwhile.
// A push button tells its focus too.
TEST_F(UiContract, APaintBoxTakesItsOwnKeysAndClicks) {
    auto d = MakeDialog("Paint");
    d->window->SetDefaultButton(d->save);
    IPaintBox& box = d->window->AddPaintBox("ovalButton", {3000, 240, 450, 450}, "?");
    box.SetOnKeyDown(
        [&](const KeyEvent& key) { d->log.push_back("key " + std::to_string(key.key)); });
    box.SetOnClick([&] { d->log.push_back("click"); });
    box.SetOnFocus([&](bool gained) { d->log.push_back(gained ? "focus" : "blur"); });
    int paints = 0;
    box.SetOnPaint([&](ICanvas& canvas) {
        ++paints;
        canvas.Clear(colours::kButtonFace);
    });
    d->save->SetOnFocus([&](bool gained) { d->log.push_back(gained ? "save in" : "save out"); });
    box.SetFocus();
    driver->PressKey(*d->window, keys::kSpace);
    driver->PressKey(*d->window, keys::kEnter);
    driver->Click(*d->window, "ovalButton");
    // A click takes the focus to a push button, which tells it as well, and to a check box.
    driver->Click(*d->window, "saveButton");
    driver->Click(*d->window, "boxCheck");
    EXPECT_EQ(d->log, (Log{"focus", "key 32", "key 13", "click", "blur", "save in", "save",
                           "save out", "box on"}));
    EXPECT_TRUE(d->box->HasFocus());
    box.Repaint();
    EXPECT_GT(paints, 0);
}

TEST_F(UiContract, TheMouseReachesTheWindowInTwips) {
    auto d = MakeDialog("Mouse");
    const int tpp = ui.Screen().twipsPerPixelX;
    std::vector<MouseEvent> mouse;
    d->window->SetOnMouse([&](const MouseEvent& event) { mouse.push_back(event); });
    driver->PressMouse(*d->window, 40 * tpp, 70 * tpp);
    ASSERT_EQ(mouse.size(), 1u);
    EXPECT_TRUE(mouse[0].action == MouseAction::Press && mouse[0].button == MouseButton::Left);
    EXPECT_EQ(std::make_pair(mouse[0].x, mouse[0].y), std::make_pair(40 * tpp, 70 * tpp));
}

TEST_F(UiContract, AWindowMinimisesAndComesBackAndMeasuresTextInItsFont) {
    auto d = MakeDialog("State");
    IWindow& window = *d->window;
    const TextExtent shorter = window.MeasureText("Delete");
    const TextExtent longer = window.MeasureText("Delete Options");
    EXPECT_GT(shorter.width, 0);
    EXPECT_GT(longer.width, shorter.width);
    EXPECT_GT(shorter.height, 0);
    EXPECT_EQ(longer.height, shorter.height) << "one line of one font";

    for (const WindowState state : {WindowState::Minimized, WindowState::Normal}) {
        window.SetState(state);
        EXPECT_TRUE(driver->WaitUntil([&] { return window.State() == state; }, 5000));
        EXPECT_TRUE(window.Loaded());
    }
}

}  // namespace
}  // namespace kestrum::contract
