// The text box's promises on every toolkit: typing key by key, the selection, change and focus
// handling, and which keys the box gets rather than the window's buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contract/UiContract.h"

namespace kestrum::contract {
namespace {

using Log = std::vector<std::string>;

class TextBoxContract : public ::testing::Test {
  protected:
    std::unique_ptr<UiDriver> driver = MakeUiDriver();
    IUiToolkit& ui = driver->ui();
    std::unique_ptr<IWindow> window = ui.CreateTopWindow("Entry", " Contract Entry", 4800, 2400);
    ITextBox& box = window->AddTextBox("nameText", {240, 240, 3600, 285});
    IPushButton& save = window->AddPushButton("saveButton", {240, 1500, 1200, 420}, "&Save");
    IPushButton& close = window->AddPushButton("closeButton", {1680, 1500, 1200, 420}, "Close");
    Log log;

    void SetUp() override {
        box.SetOnChange([this] { log.push_back("change " + box.Text()); });
        box.SetOnKeyDown([this](const KeyEvent& key) { log.push_back(KeyName(key)); });
        box.SetOnFocus([this](bool gained) { log.push_back(gained ? "focus" : "blur"); });
        save.SetOnClick([this] { log.push_back("save"); });
        close.SetOnClick([this] { log.push_back("close"); });
        window->Show();
        ui.ProcessPendingEvents();
        // Where the focus lands on showing is the window's business, not the box's.
        save.SetFocus();
        log.clear();
    }

    static std::string KeyName(const KeyEvent& key) {
        return "key " + std::to_string(key.key) + (key.shift ? "+shift" : "");
    }
};

// Each key goes to the preview first, which may swallow it; what it lets through reaches the
// box's key handling and is typed at the caret.
TEST_F(TextBoxContract, TypingGoesKeyByKeyThroughThePreviewIntoTheFocusedBox) {
    Log preview;
    window->SetOnKeyPreview([&](const KeyEvent& key) {
        preview.push_back(KeyName(key));
        return key.key == 'Q';
    });
    box.SetFocus();
    log.clear();
    driver->Type(*window, "Cq:\\a*b.txt");
    EXPECT_EQ(box.Text(), "C:\\a*b.txt");
    ASSERT_EQ(preview.size(), 11u);
    EXPECT_EQ(preview[0], "key 67+shift") << "a capital is its letter's key with shift";
    EXPECT_EQ(preview[1], "key 81") << "a small letter is the same key without";
    EXPECT_EQ(log.size(), 20u) << "each key but the swallowed one, then the change it made";
    EXPECT_EQ(log[0], "key 67+shift");
    EXPECT_EQ(log[1], "change C");
    EXPECT_EQ(log.back(), "change C:\\a*b.txt");
}

TEST_F(TextBoxContract, TextSetFromCodeLeavesTheCaretAtTheStartAndSelectAllIsReplaced) {
    box.SetText("*.*");
    box.SetText("*.*");
    EXPECT_EQ(log, Log{"change *.*"}) << "setting the same text is no change";
    box.SetFocus();
    driver->Type(*window, "x");
    EXPECT_EQ(box.Text(), "x*.*") << "the focus alone selects nothing";
    box.SelectAll();
    driver->Type(*window, "win.ini");
    EXPECT_EQ(box.Text(), "win.ini");
    driver->PressKey(*window, keys::kBack);
    EXPECT_EQ(box.Text(), "win.in");
    for (int key : {keys::kLeft, keys::kLeft, keys::kRight}) {
        driver->PressKey(*window, key);
    }
    driver->Type(*window, "_");
    EXPECT_EQ(box.Text(), "win.i_n") << "the caret keys move the caret";
    box.SelectAll();
    driver->PressKey(*window, keys::kBack);
    EXPECT_EQ(box.Text(), "");
    driver->Type(*window, "k");
    const Log before = log;
    box.SelectAll();
    driver->Type(*window, "k");
    EXPECT_EQ(log.size(), before.size() + 1) << "the key, but no change: k typed over k";
    driver->Type(*window, "ept");
    save.SetFocus();
    EXPECT_EQ(log.back(), "blur");
    EXPECT_EQ(log[1], "focus");

    window->Unload(true);
    EXPECT_EQ(box.Text(), "kept") << "the box keeps its last text once the window has gone";
}

// Enter belongs to the default button while there is one, so a window that wants Enter in the
// box takes its default away; Esc is always the cancel button's.
TEST_F(TextBoxContract, EnterReachesTheBoxOnlyWithoutADefaultButton) {
    window->SetCancelButton(&close);
    const struct {
        const char* what;
        IPushButton* defaultButton;
        int key;
        Log seen;
    } cases[] = {
        {"Enter with a default button", &save, keys::kEnter, {"save"}},
        {"Enter without one", nullptr, keys::kEnter, {"key 13"}},
        {"Esc", nullptr, keys::kEscape, {"close"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        window->SetDefaultButton(c.defaultButton);
        box.SetFocus();
        log.clear();
        driver->PressKey(*window, c.key);
        EXPECT_EQ(log, c.seen);
        EXPECT_TRUE(box.HasFocus());
        EXPECT_EQ(box.Text(), "") << "Enter types nothing";
    }
}

}  // namespace
}  // namespace kestrum::contract
