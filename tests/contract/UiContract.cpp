// The toolkit's promises, held once against IUiToolkit and run on every toolkit through its
// driver: the fake natively, the Win32 toolkit under Wine.
#include "contract/UiContract.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace kestrum::contract {
namespace {

// Generous: a loaded two-core machine under Wine.
constexpr std::uint32_t kDeadline = 10000;

class UiContract : public ::testing::Test {
  protected:
    std::unique_ptr<UiDriver> driver = MakeUiDriver();
    IUiToolkit& ui = driver->ui();

    // A shown window with a Save and a Close button and a check box, counting the clicks.
    struct Dialog {
        std::unique_ptr<IWindow> window;
        IPushButton* save = nullptr;
        IPushButton* close = nullptr;
        ICheckBox* box = nullptr;
        int saves = 0;
        int closes = 0;
        int boxClicks = 0;
    };
    std::unique_ptr<Dialog> MakeDialog(const std::string& name) {
        auto d = std::make_unique<Dialog>();
        Dialog& r = *d;
        r.window = ui.CreateTopWindow(name, " Contract " + name, 4800, 2400);
        r.box = &r.window->AddCheckBox("boxCheck", {240, 240, 2400, 300}, "&Wipe files");
        r.save = &r.window->AddPushButton("saveButton", {240, 1500, 1200, 420}, "&Save");
        r.close = &r.window->AddPushButton("closeButton", {1680, 1500, 1200, 420}, "Close");
        r.save->SetOnClick([&r] { ++r.saves; });
        r.close->SetOnClick([&r] { ++r.closes; });
        r.box->SetOnClick([&r] { ++r.boxClicks; });
        r.window->Show();
        ui.ProcessPendingEvents();
        return d;
    }
};

TEST_F(UiContract, CheckBoxClicksOncePerChangeOfItsValue) {
    auto d = MakeDialog("Check");
    std::vector<bool> seen;
    d->box->SetOnClick([&] { seen.push_back(d->box->Value()); });
    d->box->SetValue(true);
    d->box->SetValue(true);
    d->box->SetValue(false);
    EXPECT_EQ(seen, (std::vector<bool>{true, false})) << "from code: once per change, after it";
    driver->Click(*d->window, "boxCheck");
    driver->Click(*d->window, "boxCheck");
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false})) << "the user's clicks toggle";
    EXPECT_FALSE(d->box->Value());
}

TEST_F(UiContract, DisabledOrHiddenControlsIgnoreInput) {
    auto d = MakeDialog("Disabled");
    d->save->SetEnabled(false);
    d->box->SetEnabled(false);
    d->close->SetVisible(false);
    d->window->SetDefaultButton(d->save);
    driver->Click(*d->window, "saveButton");
    driver->Click(*d->window, "boxCheck");
    driver->Click(*d->window, "closeButton");
    driver->PressKey(*d->window, keys::kEnter);
    EXPECT_EQ(d->saves, 0);
    EXPECT_EQ(d->closes, 0);
    EXPECT_EQ(d->boxClicks, 0);
    EXPECT_FALSE(d->box->Value());

    d->save->SetEnabled(true);
    d->close->SetVisible(true);
    driver->Click(*d->window, "saveButton");
    driver->Click(*d->window, "closeButton");
    EXPECT_EQ(d->saves, 1);
    EXPECT_EQ(d->closes, 1);
}

TEST_F(UiContract, EnterClicksTheCurrentDefaultButtonOrTheFocusedOne) {
    auto d = MakeDialog("Enter");
    d->window->SetDefaultButton(d->save);
    d->box->SetFocus();
    ASSERT_TRUE(d->box->HasFocus());
    driver->PressKey(*d->window, keys::kEnter);
    EXPECT_EQ(d->saves, 1) << "focus on a check box";
    EXPECT_FALSE(d->box->Value()) << "Enter is not a click on the check box";

    d->window->SetDefaultButton(d->close);
    EXPECT_EQ(d->window->DefaultButton(), d->close);
    driver->PressKey(*d->window, keys::kEnter);
    EXPECT_EQ(d->closes, 1) << "after the default moved";
    EXPECT_EQ(d->saves, 1);

    d->save->SetFocus();
    driver->PressKey(*d->window, keys::kEnter);
    EXPECT_EQ(d->saves, 2) << "a focused push button takes Enter itself";
    EXPECT_EQ(d->closes, 1);

    d->window->SetDefaultButton(nullptr);
    d->box->SetFocus();
    driver->PressKey(*d->window, keys::kEnter);
    EXPECT_EQ(d->saves + d->closes, 3) << "no default button: Enter clicks nothing";
}

TEST_F(UiContract, EscClicksTheCancelButton) {
    auto d = MakeDialog("Esc");
    driver->PressKey(*d->window, keys::kEscape);
    EXPECT_EQ(d->closes, 0) << "no cancel button yet";
    d->window->SetCancelButton(d->close);
    d->box->SetFocus();
    driver->PressKey(*d->window, keys::kEscape);
    EXPECT_EQ(d->closes, 1);
    EXPECT_EQ(d->saves, 0);
    EXPECT_TRUE(d->window->Loaded()) << "Esc is the button's click, not a close";
}

TEST_F(UiContract, AccessKeysClickTheControlTheyName) {
    auto d = MakeDialog("Access");
    d->save->SetFocus();
    driver->PressAccessKey(*d->window, 'W');
    EXPECT_TRUE(d->box->Value());
    EXPECT_EQ(d->boxClicks, 1);
    driver->PressAccessKey(*d->window, 'S');
    EXPECT_EQ(d->saves, 1);
    d->save->SetEnabled(false);
    driver->PressAccessKey(*d->window, 'S');
    EXPECT_EQ(d->saves, 1) << "not while disabled";
}

TEST_F(UiContract, TabMovesTheFocusOverEnabledVisibleControlsInCreationOrder) {
    auto d = MakeDialog("Tab");
    auto& extra = d->window->AddPushButton("extraButton", {3120, 1500, 1200, 420}, "Extra");
    d->close->SetEnabled(false);
    d->save->SetFocus();
    driver->PressKey(*d->window, keys::kTab);
    EXPECT_TRUE(extra.HasFocus()) << "past the disabled Close";
    extra.SetVisible(false);
    d->save->SetFocus();
    driver->PressKey(*d->window, keys::kTab);
    EXPECT_TRUE(d->box->HasFocus()) << "round to the first, past the hidden one";
}

TEST_F(UiContract, KeyPreviewSeesKeysFirstAndMayConsumeThem) {
    auto d = MakeDialog("Preview");
    d->window->SetDefaultButton(d->save);
    d->window->SetCancelButton(d->close);
    std::vector<std::string> events;
    d->save->SetOnClick([&] { events.push_back("save"); });
    d->close->SetOnClick([&] { events.push_back("close"); });
    d->window->SetOnKeyPreview([&](const KeyEvent& key) {
        events.push_back("key " + std::to_string(key.key));
        return key.key == keys::kEnter;
    });
    d->box->SetFocus();
    driver->PressKey(*d->window, keys::kEnter);
    driver->PressKey(*d->window, keys::kEscape);
    EXPECT_EQ(events, (std::vector<std::string>{"key 13", "key 27", "close"}));
}

TEST_F(UiContract, ModalShowReturnsOnceTheWindowUnloadsAndTimersTick) {
    auto owner = MakeDialog("Owner");
    auto modal = ui.CreateTopWindow("Modal", " Contract Modal", 3000, 1500);
    int ticks = 0;
    int ownerSavesDuringModal = -1;
    modal->StartTimer(7, 30, [&] {
        ++ticks;
        if (ticks == 1) {
            driver->Click(*owner->window, "saveButton");
            ownerSavesDuringModal = owner->saves;
        }
        if (ticks == 3) {
            modal->Unload();
        }
    });
    modal->ShowModal();
    EXPECT_FALSE(modal->Loaded());
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(ownerSavesDuringModal, 0) << "the other windows ignore input meanwhile";
    driver->Click(*owner->window, "saveButton");
    EXPECT_EQ(owner->saves, 1) << "and take it again afterwards";
}

TEST_F(UiContract, ATimerStopsWhenToldOrWhenItsWindowUnloads) {
    auto d = MakeDialog("Timer");
    int ticks = 0;
    d->window->StartTimer(1, 20, [&] {
        if (++ticks == 2) {
            d->window->StopTimer(1);
        }
    });
    ASSERT_TRUE(driver->WaitUntil([&] { return ticks >= 2; }, kDeadline));
    EXPECT_FALSE(driver->WaitUntil([&] { return ticks > 2; }, 200));

    int later = 0;
    d->window->StartTimer(2, 20, [&] { ++later; });
    d->window->Unload();
    EXPECT_FALSE(driver->WaitUntil([&] { return later > 0; }, 200));
}

TEST_F(UiContract, QueryUnloadMayKeepTheWindowOpenUnlessForced) {
    auto d = MakeDialog("Query");
    std::vector<CloseReason> asked;
    int unloads = 0;
    d->window->SetOnQueryUnload([&](CloseReason reason) {
        asked.push_back(reason);
        return true;
    });
    d->window->SetOnUnload([&] { ++unloads; });
    driver->Close(*d->window);
    EXPECT_TRUE(d->window->Loaded());
    EXPECT_FALSE(d->window->Unload());
    EXPECT_TRUE(d->window->Loaded());
    EXPECT_EQ(asked, (std::vector<CloseReason>{CloseReason::User, CloseReason::Code}));
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(d->window->Unload(true));
    EXPECT_FALSE(d->window->Loaded());
    EXPECT_EQ(asked.size(), 2u) << "a forced unload asks nobody";
    EXPECT_EQ(unloads, 1);

    auto other = MakeDialog("QueryLet");
    other->window->SetOnQueryUnload([](CloseReason) { return false; });
    driver->Close(*other->window);
    EXPECT_FALSE(other->window->Loaded()) << "the user's close goes through when let";
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
    EXPECT_EQ(d->closes, 1) << "a preview that throws consumed nothing";
    EXPECT_TRUE(driver->WaitUntil([&] { return ticks >= 2; }, kDeadline)) << "the timer runs on";
    driver->Click(*d->window, "closeButton");
    EXPECT_EQ(d->closes, 2);
}

TEST_F(UiContract, TwipsBecomePixelsAtTheScreensTwipsPerPixel) {
    const ScreenMetrics screen = ui.Screen();
    EXPECT_EQ(screen.twipsPerPixelX, 1440 / driver->ScreenDpi());
    EXPECT_EQ(screen.twipsPerPixelY, 1440 / driver->ScreenDpi());
    EXPECT_GT(screen.workArea.width, 0);
    EXPECT_GT(screen.workArea.height, 0);

    auto d = MakeDialog("Twips");
    const int tpp = screen.twipsPerPixelX;
    EXPECT_EQ(driver->ClientPixels(*d->window),
              std::make_pair((4800 + tpp / 2) / tpp, (2400 + tpp / 2) / tpp));
    EXPECT_EQ(driver->ControlPixels(*d->window, "saveButton"),
              std::make_pair((1200 + tpp / 2) / tpp, (420 + tpp / 2) / tpp));
    d->save->SetBounds({0, 0, 2000, 500});
    EXPECT_EQ(driver->ControlPixels(*d->window, "saveButton"),
              std::make_pair((2000 + tpp / 2) / tpp, (500 + tpp / 2) / tpp));

    std::vector<MouseEvent> mouse;
    d->window->SetOnMouse([&](const MouseEvent& event) { mouse.push_back(event); });
    driver->PressMouse(*d->window, 40 * tpp, 70 * tpp);
    ASSERT_EQ(mouse.size(), 1u);
    EXPECT_EQ(mouse[0].action, MouseAction::Press);
    EXPECT_EQ(mouse[0].button, MouseButton::Left);
    EXPECT_EQ(mouse[0].x, 40 * tpp);
    EXPECT_EQ(mouse[0].y, 70 * tpp);
}

}  // namespace
}  // namespace kestrum::contract
