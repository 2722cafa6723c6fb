// The tree view's promises, on every toolkit through its driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "contract/UiContract.h"

namespace kestrum::contract {
namespace {

using Log = std::vector<std::string>;

// A shown window with a tree: roots c:\ (apple, Banana, cherry below it) and d:\, every event
// logged with the key of its node.
class UiContractTree : public ::testing::Test {
  protected:
    void SetUp() override {
        window = driver->ui().CreateTopWindow("Tree", " Tree", 4800, 4800);
        tree = &window->AddTreeView("TV", {120, 120, 4200, 4200});
        // A second click on the selected node would start an edit a moment later.
        TreeOptions options;
        options.labelEdit = false;
        tree->SetOptions(options);
        c = tree->AddNode(kNoNode, "c:\\", "c:  (Fixed Disk)", 7, 8);
        for (const char* name : {"apple", "Banana", "cherry"}) {
            tree->AddNode(c, std::string("c:\\") + name + "\\", name, 13, 15);
        }
        d = tree->AddNode(kNoNode, "d:\\", "d:  (Compact Disc)", 10, 11);
        tree->SetOnExpand([this](TreeNode n) { log.push_back("expand " + tree->NodeKey(n)); });
        tree->SetOnCollapse([this](TreeNode n) { log.push_back("collapse " + tree->NodeKey(n)); });
        tree->SetOnNodeClick([this](TreeNode n) { log.push_back("node " + tree->NodeKey(n)); });
        tree->SetOnClick([this] { log.push_back("click"); });
        tree->SetOnDoubleClick([this] { log.push_back("double"); });
        tree->SetOnKeyDown([this](const KeyEvent& k) { keys.push_back("down " + Key(k.key)); });
        tree->SetOnKeyUp([this](const KeyEvent& k) { keys.push_back("up " + Key(k.key)); });
        tree->SetOnKeyPress([this](char ch) { keys.push_back(std::string("press ") + ch); });
        window->Show();
        driver->ui().ProcessPendingEvents();
    }
    static std::string Key(int code) { return std::to_string(code); }
    void Press(int key) {
        driver->PressKey(*window, key);
        driver->ui().ProcessPendingEvents();
    }
    std::string SelectedKey() const { return tree->NodeKey(tree->Selected()); }

    std::unique_ptr<UiDriver> driver = MakeUiDriver();
    std::unique_ptr<IWindow> window;
    ITreeView* tree = nullptr;
    TreeNode c{}, d{};
    Log log, keys;
};

// Nodes keep what they were made with, and changes from code raise no event.
TEST_F(UiContractTree, NodesKeepTheirKeysTextsImagesAndPlaces) {
    EXPECT_EQ(tree->AddNode(kNoNode, "c:\\", "again", 7, 8), kNoNode) << "a key is unique";
    EXPECT_EQ(tree->AddNode(TreeNode{12345}, "x:\\", "orphan", 7, 8), kNoNode);
    const TreeNode music = tree->AddNode(d, "d:\\Müsik\\", "Müsik", 13, 15);
    ASSERT_NE(music, kNoNode);
    EXPECT_EQ(tree->Nodes().size(), 6u);
    EXPECT_EQ(tree->Nodes().back(), music) << "in the order of adding";
    EXPECT_EQ(tree->FindNode("d:\\Müsik\\"), music);
    EXPECT_EQ(tree->NodeText(music), "Müsik");
    EXPECT_EQ(tree->NodeText(c), "c:  (Fixed Disk)");
    EXPECT_EQ(tree->Parent(music), d);
    EXPECT_EQ(tree->Parent(c), kNoNode);
    EXPECT_EQ(tree->NextSibling(c), d);
    EXPECT_EQ(tree->NextSibling(d), kNoNode);
    Log children;
    for (TreeNode n = tree->FirstChild(c); n != kNoNode; n = tree->NextSibling(n)) {
        children.push_back(tree->NodeText(n) + " " + std::to_string(tree->NodeImage(n)));
    }
    EXPECT_EQ(children, (Log{"apple 13", "Banana 13", "cherry 13"}));
    tree->SetNodeImage(c, 9);
    EXPECT_EQ(tree->NodeImage(c), 9);
    EXPECT_EQ(tree->FirstChild(music), kNoNode);

    const TreeNode banana = tree->FindNode("c:\\Banana\\");
    tree->SetExpanded(music, true);
    EXPECT_FALSE(tree->Expanded(music)) << "a node without children stays closed";
    tree->EnsureVisible(banana);
    EXPECT_TRUE(tree->Expanded(c)) << "its parent opened";
    tree->Select(banana);
    EXPECT_EQ(tree->Selected(), banana);
    tree->SetExpanded(c, false);
    EXPECT_FALSE(tree->Expanded(c));
    EXPECT_EQ(tree->Selected(), c) << "closing over the selection takes the selection up";
    tree->SetExpanded(c, true);
    tree->Select(d);
    tree->Clear();
    EXPECT_TRUE(tree->Nodes().empty());
    EXPECT_EQ(tree->FindNode("c:\\"), kNoNode);
    EXPECT_EQ(tree->Selected(), kNoNode);
    EXPECT_NE(tree->AddNode(kNoNode, "c:\\", "c:", 7, 8), kNoNode) << "a cleared key is free";
    EXPECT_EQ(log, Log{});
}

TEST_F(UiContractTree, ClicksSelectDoubleClicksAndButtonsOpenAndClose) {
    driver->OnNode(*window, "TV", "d:\\", NodeAction::Click);
    EXPECT_EQ(SelectedKey(), "d:\\");
    driver->OnNode(*window, "TV", "c:\\", NodeAction::DoubleClick);
    EXPECT_TRUE(tree->Expanded(c));
    driver->OnNode(*window, "TV", "c:\\Banana\\", NodeAction::Click);
    driver->OnNode(*window, "TV", "c:\\", NodeAction::Toggle);
    EXPECT_FALSE(tree->Expanded(c));
    driver->OnNode(*window, "TV", "c:\\", NodeAction::Toggle);
    driver->OnNode(*window, "TV", "d:\\", NodeAction::DoubleClick);
    EXPECT_EQ(log, (Log{"node d:\\", "click",                              //
                        "node c:\\", "click", "double", "expand c:\\",     //
                        "node c:\\Banana\\", "click",                      //
                        "click", "collapse c:\\", "click", "expand c:\\",  // the button
                        "node d:\\", "click", "double"}));                 // nothing to open
    EXPECT_TRUE(tree->Expanded(c));
    EXPECT_EQ(SelectedKey(), "d:\\");
}

TEST_F(UiContractTree, ArrowKeysMoveAndOpenTypedLettersReachOnlyTheProgram) {
    tree->Select(c);
    tree->SetFocus();
    const struct {
        int key;
        const char* event;  // "" when the key changes nothing
        const char* selected;
    } steps[] = {
        {keys::kRight, "expand c:\\", "c:\\"}, {keys::kDown, "node c:\\apple\\", "c:\\apple\\"},
        {keys::kLeft, "node c:\\", "c:\\"},    {keys::kLeft, "collapse c:\\", "c:\\"},
        {keys::kDown, "node d:\\", "d:\\"},    {keys::kRight, "", "d:\\"},
        {keys::kUp, "node c:\\", "c:\\"},      {keys::kRight, "expand c:\\", "c:\\"},
    };
    for (const auto& step : steps) {
        log.clear();
        Press(step.key);
        EXPECT_EQ(log, *step.event ? Log{step.event} : Log{}) << "key " << step.key;
        EXPECT_EQ(SelectedKey(), step.selected) << "key " << step.key;
    }
    keys.clear();
    log.clear();
    Press('B');
    ASSERT_TRUE(driver->WaitUntil([&] { return keys.size() >= 3; }, 5000));
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (Log{"down 66", "press b", "up 66"}));
    EXPECT_EQ(SelectedKey(), "c:\\") << "the tree did not search for Banana";
    EXPECT_EQ(log, Log{});
}

TEST_F(UiContractTree, MouseCheckBoxesAndKeysTheProgramChanges) {
    tree->SetOnMouse([this](const MouseEvent& m) {
        log.push_back(m.action == MouseAction::Press ? "press" : "release");
    });
    tree->SetOnNodeCheck([this](TreeNode n) { log.push_back("check " + tree->NodeKey(n)); });
    driver->OnNode(*window, "TV", "d:\\", NodeAction::Click);
    EXPECT_EQ(log, (Log{"press", "node d:\\", "click", "release"}));

    TreeOptions options = tree->Options();
    options.checkboxes = true;
    tree->SetOptions(options);
    tree->SetChecked(c, true);
    EXPECT_TRUE(tree->Checked(c));
    log.clear();
    driver->OnNode(*window, "TV", "c:\\", NodeAction::Check);
    EXPECT_FALSE(tree->Checked(c));
    EXPECT_EQ(std::count(log.begin(), log.end(), "check c:\\"), 1);
    EXPECT_EQ(SelectedKey(), "d:\\") << "a tick is not a selection";
    log.clear();
    tree->SetFocus();
    Press(keys::kSpace);
    EXPECT_TRUE(tree->Checked(d));
    EXPECT_EQ(log, Log{"check d:\\"});

    // A key the program sets to 0 never reaches the tree.
    tree->SetOnKeyDown([](KeyEvent& k) { k.key = k.key == keys::kUp ? 0 : k.key; });
    Press(keys::kUp);
    EXPECT_EQ(SelectedKey(), "d:\\");
}

TEST_F(UiContractTree, LabelsOpenWhenAllowedAndTakeTheConfirmedText) {
    tree->SetOnBeforeLabelEdit([this](TreeNode n) {
        log.push_back("before " + tree->NodeKey(n));
        return n == d;  // refused
    });
    tree->SetOnAfterLabelEdit([this](TreeNode, std::string& text) {
        log.push_back("after " + text);
        text += "!";
        return text == "keep!";
    });
    const struct {
        TreeNode node;
        const char* typed;
        bool confirm;
        const char* event;  // after "before"
        const char* text;
    } edits[] = {
        {d, "x", true, "", "d:  (Compact Disc)"},
        {c, "Sys", true, "after Sys", "Sys!"},
        {c, "keep", true, "after keep", "Sys!"},
        {c, "gone", false, "", "Sys!"},
    };
    for (const auto& e : edits) {
        log.clear();
        tree->Select(e.node);
        tree->StartLabelEdit();
        driver->TypeInLabel(*window, "TV", e.typed, e.confirm);
        Log expected{"before " + tree->NodeKey(e.node)};
        if (*e.event) {
            expected.push_back(e.event);
        }
        EXPECT_EQ(log, expected) << e.typed;
        EXPECT_EQ(tree->NodeText(e.node), e.text) << e.typed;
    }

    // The user opens a label by clicking the selected node once more, unless that is turned off.
    TreeOptions options;
    options.labelEdit = true;
    tree->SetOptions(options);
    log.clear();
    driver->OnNode(*window, "TV", "c:\\", NodeAction::Click);
    ASSERT_TRUE(driver->WaitUntil([this] { return log.size() == 3; }, 5000));
    EXPECT_EQ(log, (Log{"node c:\\", "click", "before c:\\"}));
    driver->TypeInLabel(*window, "TV", "Win", true);
    EXPECT_EQ(tree->NodeText(c), "Win!");
}

TEST_F(UiContractTree, ADisabledTreeIgnoresTheUser) {
    tree->Select(c);
    tree->SetFocus();
    tree->SetEnabled(false);
    driver->OnNode(*window, "TV", "d:\\", NodeAction::DoubleClick);
    driver->OnNode(*window, "TV", "c:\\", NodeAction::Toggle);
    Press(keys::kDown);
    EXPECT_EQ(log, Log{});
    EXPECT_EQ(keys, Log{});
    EXPECT_EQ(SelectedKey(), "c:\\");
    EXPECT_FALSE(tree->Expanded(c));
}

// Each option reads back as set, the opposite of its default.
TEST_F(UiContractTree, OptionsHoldWhatWasSet) {
    TreeOptions flipped{true, true, false, true, false, true};
    tree->SetOptions(flipped);
    const TreeOptions got = tree->Options();
    EXPECT_EQ((Log{got.checkboxes ? "boxes" : "", got.fullRowSelect ? "row" : "",
                   got.hideSelection ? "hide" : "", got.hotTracking ? "hot" : "",
                   got.linesToRoots ? "lines" : "", got.labelEdit ? "edit" : ""}),
              (Log{"boxes", "row", "", "hot", "", "edit"}));
}

}  // namespace
}  // namespace kestrum::contract
