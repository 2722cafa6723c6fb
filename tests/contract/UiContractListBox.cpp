// The list box's promises on every toolkit: row order, the selection through adds and removes,
// where rows are drawn, and what the mouse and the keyboard do to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "contract/UiContract.h"

namespace kestrum::contract {
namespace {

using Rows = std::vector<std::string>;

class ListBoxContract : public ::testing::Test {
  protected:
    std::unique_ptr<UiDriver> driver = MakeUiDriver();
    IUiToolkit& ui = driver->ui();
    std::unique_ptr<IWindow> window = ui.CreateTopWindow("List", " Contract List", 6000, 3600);
    IPushButton& save = window->AddPushButton("saveButton", {4200, 240, 1200, 420}, "&Save");

    void SetUp() override {
        window->Show();
        ui.ProcessPendingEvents();
    }

    IListBox& AddList(bool sorted, const Rows& rows) {
        IListBox& list =
            window->AddListBox(sorted ? "sortedList" : "fileList", {240, 240, 3600, 1500}, sorted);
        for (const auto& row : rows) {
            list.AddItem(row);
        }
        return list;
    }
    static Rows RowsOf(const IListBox& list) {
        Rows rows;
        for (int i = 0; i < list.Count(); ++i) {
            rows.push_back(list.ItemText(i));
        }
        return rows;
    }
};

// A row added to a sorted list lands among the others, and the selected row moves with it.
TEST_F(ListBoxContract, RowsKeepTheirOrderOrAreSortedIgnoringCase) {
    const struct {
        bool sorted;
        int rowOfB;  // before the last row is added
        Rows shown;
    } cases[] = {
        {false, 0, {"b.txt", "A.txt", "c.TXT", "a.log", "0.ini"}},
        {true, 2, {"0.ini", "a.log", "A.txt", "b.txt", "c.TXT"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sorted ? "sorted" : "unsorted");
        IListBox& list = AddList(c.sorted, {"b.txt", "A.txt", "c.TXT", "a.log"});
        list.SetSelectedIndex(c.rowOfB);
        list.AddItem("0.ini");
        EXPECT_EQ(RowsOf(list), c.shown);
        EXPECT_EQ(list.ItemText(list.SelectedIndex()), "b.txt");
        EXPECT_EQ(list.ItemText(5), "");
        EXPECT_EQ(list.ItemText(-1), "");
    }
}

TEST_F(ListBoxContract, RemovingAndSelectingRowsTheListDoesNotHaveChangesNothingElse) {
    IListBox& list = AddList(false, {"r0", "r1", "r2", "r3"});
    list.SetSelectedIndex(2);
    list.RemoveItem(0);
    EXPECT_EQ(list.SelectedIndex(), 1) << "the selection stays on its row";
    list.RemoveItem(9);
    list.RemoveItem(-1);
    EXPECT_EQ(RowsOf(list), (Rows{"r1", "r2", "r3"}));
    list.RemoveItem(1);
    EXPECT_EQ(list.SelectedIndex(), -1) << "the selected row went";
    list.SetSelectedIndex(1);
    list.SetSelectedIndex(7);
    EXPECT_EQ(list.SelectedIndex(), -1);
    list.SetSelectedIndex(0);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.SelectedIndex(), -1);

    list.AddItem("kept");
    list.SetSelectedIndex(0);
    window->Unload(true);
    EXPECT_EQ(RowsOf(list), Rows{"kept"}) << "the rows outlive the window";
    EXPECT_EQ(list.SelectedIndex(), 0);
}

// Rows are stacked from the top of the inside at one height, as wide as the inside; selecting a
// row below the visible ones scrolls it into view.
TEST_F(ListBoxContract, ItemRectsFollowTheScrolling) {
    Rows many;
    for (int i = 0; i < 30; ++i) {
        many.push_back("row " + std::to_string(i));
    }
    IListBox& list = AddList(false, many);
    const TwipsRect first = list.ItemRect(0);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.top, 0);
    EXPECT_GT(first.height, 0);
    EXPECT_GT(first.width, 2400) << "about the list's width";
    EXPECT_LE(first.width, 3600 - 16 * ui.Screen().twipsPerPixelX) << "less its scroll bar";
    EXPECT_EQ(list.ItemRect(1).top, first.height);
    EXPECT_EQ(list.ItemRect(30).height, 0) << "no such row";

    list.SetSelectedIndex(29);
    const TwipsRect last = list.ItemRect(29);
    EXPECT_GE(last.top, 0);
    EXPECT_LE(last.top + last.height, 1500) << "in view";
    EXPECT_LT(list.ItemRect(0).top, 0) << "scrolled out above";
    EXPECT_EQ(list.ItemRect(28).top, last.top - last.height);
}

// The mouse handler sees the list's own events in twips; a press picks the row under it, a
// double click runs its own handler, Up and Down move the selection and a typed character picks
// the next row starting with it. Code's selection runs no handler.
TEST_F(ListBoxContract, TheUserPicksRowsByMouseAndKeyboard) {
    IListBox& list = AddList(false, {"a.txt", "b1.txt", "b2.txt", "c.txt"});
    int clicks = 0;
    int doubleClicks = 0;
    std::vector<MouseEvent> mouse;
    std::vector<bool> focus;
    list.SetOnClick([&] { ++clicks; });
    list.SetOnDoubleClick([&] { ++doubleClicks; });
    list.SetOnMouse([&](const MouseEvent& event) { mouse.push_back(event); });
    list.SetOnFocus([&](bool gained) { focus.push_back(gained); });
    list.SetSelectedIndex(3);
    EXPECT_EQ(clicks, 0);

    const int tpp = ui.Screen().twipsPerPixelY;
    const TwipsRect row1 = list.ItemRect(1);
    const int x = 10 * tpp;
    const int y = row1.top + 2 * tpp;
    const auto saw = [&](MouseAction action, MouseButton button, int atY) {
        return std::any_of(mouse.begin(), mouse.end(), [&](const MouseEvent& e) {
            return e.action == action && e.button == button && e.x == x && e.y == atY;
        });
    };
    driver->MouseOn(*window, list.Name(), {MouseAction::Move, MouseButton::None, x, y});
    EXPECT_TRUE(saw(MouseAction::Move, MouseButton::None, y));
    EXPECT_EQ(list.SelectedIndex(), 3) << "moving picks nothing";
    driver->MouseOn(*window, list.Name(), {MouseAction::Press, MouseButton::Left, x, y});
    driver->MouseOn(*window, list.Name(), {MouseAction::Release, MouseButton::Left, x, y});
    EXPECT_TRUE(saw(MouseAction::Press, MouseButton::Left, y));
    EXPECT_EQ(list.SelectedIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(list.HasFocus()) << "a press gives the list the focus";
    EXPECT_EQ(focus, std::vector<bool>{true});

    driver->PressKey(*window, keys::kDown);
    EXPECT_EQ(list.SelectedIndex(), 2);
    EXPECT_EQ(clicks, 2);
    driver->Type(*window, "B");
    EXPECT_EQ(list.SelectedIndex(), 1) << "round to the top";
    driver->Type(*window, "c");
    EXPECT_EQ(list.SelectedIndex(), 3);
    driver->Type(*window, "b");
    EXPECT_EQ(list.SelectedIndex(), 1);
    driver->PressKey(*window, keys::kDown);
    EXPECT_EQ(clicks, 6);

    const int below = list.ItemRect(3).top + list.ItemRect(3).height + 4 * tpp;
    driver->MouseOn(*window, list.Name(), {MouseAction::Release, MouseButton::Right, x, below});
    EXPECT_TRUE(saw(MouseAction::Release, MouseButton::Right, below));
    EXPECT_EQ(list.SelectedIndex(), 2) << "the right button picks nothing itself";

    driver->DoubleClick(*window, list.Name(), x, list.ItemRect(0).top + 2 * tpp);
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_EQ(doubleClicks, 1);
    save.SetFocus();
    EXPECT_EQ(focus, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace kestrum::contract
