// The tabs control's promises, on every toolkit through its driver.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "contract/UiContract.h"

namespace kestrum::contract {
namespace {

using Log = std::vector<std::string>;

// A shown window with three tabs over their pages and a Close button beneath them on no page:
// "startCheck" on page 0, "purgeButton" and "wipeCheck" on page 1, "textBox" on page 2.
class UiContractTabs : public ::testing::Test {
  protected:
    void SetUp() override {
        window = driver->ui().CreateTopWindow("Tabs", " Tabs", 6000, 4200);
        tabs = &window->AddTabs("tabsControl", {120, 120, 5700, 3000}, {"One", "Two", "Three"});
        start = &window->AddCheckBox("startCheck", {360, 600, 3000, 300}, "&Start");
        purge = &window->AddPushButton("purgeButton", {360, 600, 1200, 420}, "&Purge");
        wipe = &window->AddCheckBox("wipeCheck", {360, 1200, 3000, 300}, "&Wipe");
        text = &window->AddTextBox("textBox", {360, 600, 3000, 300});
        close = &window->AddPushButton("closeButton", {4500, 3420, 1200, 420}, "Close");
        tabs->Place(*start, 0);
        tabs->Place(*purge, 1);
        tabs->Place(*wipe, 1);
        tabs->Place(*text, 2);
        start->SetOnClick([this] { log.push_back("start"); });
        purge->SetOnClick([this] { log.push_back("purge"); });
        wipe->SetOnClick([this] { log.push_back("wipe"); });
        close->SetOnClick([this] { log.push_back("close"); });
        tabs->SetOnSelect([this](int previous) {
            log.push_back(std::to_string(previous) + " to " + std::to_string(tabs->Selected()));
        });
        window->Show();
        driver->ui().ProcessPendingEvents();
    }
    // Clicks on every placed control; the log tells which of them took it.
    Log ClickAll() {
        log.clear();
        for (const char* name : {"startCheck", "purgeButton", "wipeCheck"}) {
            driver->Click(*window, name);
        }
        return std::exchange(log, {});
    }

    std::unique_ptr<UiDriver> driver = MakeUiDriver();
    std::unique_ptr<IWindow> window;
    ITabs* tabs = nullptr;
    ICheckBox* start = nullptr;
    IPushButton* purge = nullptr;
    ICheckBox* wipe = nullptr;
    ITextBox* text = nullptr;
    IPushButton* close = nullptr;
    Log log;
};

TEST_F(UiContractTabs, PlacedControlsTakeInputOnlyOnTheirPageAndKeepTheirOwnVisibility) {
    EXPECT_EQ(tabs->Selected(), 0);
    EXPECT_EQ(ClickAll(), Log{"start"}) << "the controls of page 1 are behind";

    wipe->SetVisible(false);  // while its page is behind
    tabs->Select(1);
    EXPECT_EQ(ClickAll(), Log{"purge"});
    EXPECT_FALSE(wipe->Visible());
    EXPECT_TRUE(start->Visible()) << "its own visibility, not the page's";

    purge->SetVisible(false);  // while its page is in front
    wipe->SetVisible(true);
    tabs->Select(0);
    tabs->Select(1);
    EXPECT_EQ(ClickAll(), Log{"wipe"}) << "a page shows again exactly what was visible on it";
    driver->Click(*window, "closeButton");
    EXPECT_EQ(log, Log{"close"}) << "a control on no page is always there";
}

TEST_F(UiContractTabs, EveryWayToAnotherTabTellsTheTabShownBefore) {
    enum How { kClick, kCode, kCtrlTab, kCtrlShiftTab };
    const struct {
        How how;
        int tab;  // for a click or from code
        int selected;
        Log told;
    } steps[] = {
        {kClick, 1, 1, {"0 to 1"}},        {kClick, 1, 1, {}},                     // the shown tab
        {kCode, 2, 2, {"1 to 2"}},         {kCode, 2, 2, {}},  {kCode, 3, 2, {}},  // out of range
        {kCtrlTab, 0, 0, {"2 to 0"}},                                              // round the end
        {kCtrlShiftTab, 0, 2, {"0 to 2"}},  // round the start
        {kCtrlShiftTab, 0, 1, {"2 to 1"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "way " << step.how << " to " << step.tab);
        log.clear();
        if (step.how == kClick) {
            driver->ChooseTab(*window, "tabsControl", step.tab);
        } else if (step.how == kCode) {
            tabs->Select(step.tab);
        } else {
            driver->PressChord(*window, {keys::kTab, step.how == kCtrlShiftTab, true});
        }
        driver->ui().ProcessPendingEvents();
        EXPECT_EQ(tabs->Selected(), step.selected);
        EXPECT_EQ(log, step.told);
    }
}

TEST_F(UiContractTabs, CtrlTabWorksFromAnyControlAndTakesTheFocusOffAPageThatGoes) {
    tabs->Select(2);
    text->SetFocus();
    driver->ui().ProcessPendingEvents();
    ASSERT_TRUE(text->HasFocus());
    driver->PressChord(*window, {keys::kTab, false, true});
    EXPECT_EQ(tabs->Selected(), 0) << "even from a text box, which takes plain keys itself";
    EXPECT_TRUE(tabs->HasFocus()) << "the focus was on the page that went";

    close->SetFocus();
    driver->PressChord(*window, {keys::kTab, false, true});
    EXPECT_EQ(tabs->Selected(), 1);
    EXPECT_TRUE(close->HasFocus()) << "the focus was on no page";

    window->SetOnKeyPreview([](const KeyEvent& key) { return key.key == keys::kTab; });
    driver->PressChord(*window, {keys::kTab, false, true});
    EXPECT_EQ(tabs->Selected(), 1) << "the key preview sees the key first";

    window->SetOnKeyPreview(nullptr);
    tabs->SetEnabled(false);
    driver->PressChord(*window, {keys::kTab, false, true});
    driver->ChooseTab(*window, "tabsControl", 0);
    EXPECT_EQ(tabs->Selected(), 1) << "disabled tabs take no input";
    EXPECT_EQ(ClickAll(), (Log{"purge", "wipe"})) << "but the controls on their page do";
}

}  // namespace
}  // namespace kestrum::contract
