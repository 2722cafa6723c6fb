// The selected-files list, its buttons, menu and entry field on the fakes, in a window whose
// recording host holds the "Delete select files?:" box.
#include "ui/options/FileListEditor.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace kestrum {
namespace {

struct Host final : IFileListHost {
    void ListEdited() override { ++edits; }
    ICheckBox& SelectedFilesBox() override { return *box; }
    void RestoreDefaultButton() override { defaultCleared = false; }
    void ClearDefaultButton() override { defaultCleared = true; }

    ICheckBox* box = nullptr;
    int edits = 0;
    bool defaultCleared = false;
};

constexpr TwipsRect kList{300, 1000, 4500, 2000};

class FileListEditorTest : public ::testing::Test {
  protected:
    FileListEditorTest() {
        host.box = &window->AddCheckBox("dOptions(7)", {300, 600, 3000, 255}, "Delete");
        editor = std::make_unique<FileListEditor>(
            platform, *window, FileListLayout{kList, 4900, 1100, 375, 60}, true, host);
        window->Show();
    }
    // Ticks the box and loads the rows, as the options window does.
    void Load(std::vector<std::string> paths) {
        OptionState options;
        options.SelectedFileCount = static_cast<std::int16_t>(paths.size());
        options.SelectedFiles.insert(options.SelectedFiles.end(), paths.begin(), paths.end());
        editor->Fill(options);
        host.box->SetValue(true);
        editor->UpdateControls();
    }
    IControl& C(const std::string& name) { return *window->Find(name); }
    IListBox& List() { return dynamic_cast<IListBox&>(C("FileList")); }
    void Click(const char* control) { fake.ui.Input(fakes::ClickOn{"Options", control}); }
    void Type(const std::string& text) {
        fake.ui.Input(fakes::TypeText{"Options", text});
        fake.ui.Input(fakes::PressKey{"Options", {keys::kEnter}});
    }
    void RightClick(int y) {
        fake.ui.Input(fakes::MouseAt{
            "Options", {MouseAction::Release, MouseButton::Right, 60, y}, "FileList"});
    }
    bool Enabled(const char* name) { return C(name).Enabled(); }

    fakes::FakePlatform fake;
    Platform platform = fake.services();
    std::unique_ptr<IWindow> window = fake.ui.CreateTopWindow("Options", " Options", 9000, 7000);
    Host host;
    std::unique_ptr<FileListEditor> editor;
};

TEST_F(FileListEditorTest, ShortenPathKeepsTheDriveAndTheLastName) {
    const struct {
        const char* path;
        int width;
        const char* shown;
    } cases[] = {
        {"C:\\folder\\dir2\\file.txt", 23 * 105 + 60, "C:\\folder\\dir2\\file.txt"},
        {"C:\\folder\\dir2\\file.txt", 21 * 105 + 60, "C:\\ ...\\dir2\\file.txt"},
        {"C:\\folder\\dir2\\file.txt", 21 * 105 + 59, "C:\\ ...\\file.txt"},
        {"C:\\a\\a-very-long-name.txt", 500, "C:\\ ...\\a-very-long-name.txt"},
        {"C:\\a-very-long-name.txt", 500, "C:\\a-very-long-name.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortenPath(*window, c.path, c.width, 2), c.shown) << c.width;
    }
}

TEST_F(FileListEditorTest, RowsAreHitAndMeasuredThroughTheirRectangles) {
    Load({"a", "b", "c"});
    const int right = List().ItemRect(0).width;
    const int cases[][3] = {
        {0, 0, 0}, {right, 195, 0}, {10, 196, 1}, {10, 586, -1}, {right + 1, 10, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(ListItemAt(List(), c[0], c[1]), c[2]) << c[0] << "," << c[1];
    }
    List().SetSelectedIndex(1);
    EXPECT_EQ(ListItemBottom(List()), 390);
    List().SetSelectedIndex(-1);
    EXPECT_EQ(ListItemBottom(List()), 0);
}

TEST_F(FileListEditorTest, FillStopsAtAnEmptyEntryAndTheControlsFollowTheBox) {
    OptionState options{"", "", {"", "c:\\a", "c:\\b", "", "c:\\d"}, 4};
    editor->Fill(options);
    EXPECT_EQ(editor->Entries(), (std::vector<std::string>{"c:\\a", "c:\\b"}));
    EXPECT_EQ(List().SelectedIndex(), 0);
    EXPECT_FALSE(Enabled("removeButton")) << "loaded before the box is ticked";
    host.box->SetValue(true);
    editor->UpdateControls();
    EXPECT_TRUE(Enabled("FileList") && Enabled("addButton") && Enabled("clearButton"));
    host.box->SetValue(false);
    editor->UpdateControls();
    EXPECT_FALSE(Enabled("FileList") || Enabled("addButton") || Enabled("updateButton"));
    EXPECT_EQ(List().SelectedIndex(), -1);
}

TEST_F(FileListEditorTest, RemoveSelectsTheRowAboveAndClearEmptiesTheList) {
    const struct {
        int selected;
        int after;
        std::vector<std::string> left;
    } cases[] = {{0, 0, {"b", "c"}}, {2, 1, {"a", "b"}}, {1, 0, {"a", "c"}}};
    for (const auto& c : cases) {
        Load({"a", "b", "c"});
        List().SetSelectedIndex(c.selected);
        Click("removeButton");
        EXPECT_EQ(editor->Entries(), c.left);
        EXPECT_EQ(List().SelectedIndex(), c.after);
        EXPECT_TRUE(List().HasFocus());
        Click("clearButton");
        EXPECT_EQ(List().Count(), 0);
        EXPECT_TRUE(editor->Entries().empty());
        EXPECT_TRUE(host.box->HasFocus());
        EXPECT_TRUE(Enabled("addButton"));
        EXPECT_FALSE(Enabled("updateButton") || Enabled("removeButton") || Enabled("clearButton"));
    }
    EXPECT_EQ(host.edits, 6);
    Load({"only"});
    Click("removeButton");
    EXPECT_TRUE(host.box->HasFocus());
    EXPECT_FALSE(Enabled("removeButton"));
}

TEST_F(FileListEditorTest, TheMenuOffersOnlyAddOnAnEmptyListAndActsOnTheRowClicked) {
    Load({});
    fake.ui.menuChoices = {"Remove", "Add"};
    RightClick(10);
    EXPECT_FALSE(editor->EntryActive());
    RightClick(10);
    EXPECT_TRUE(editor->EntryActive());
    Type("c:\\x");
    Type("c:\\y");
    Type("");
    fake.ui.menuChoices = {"none", "Remove"};
    RightClick(900);  // below the rows: the selection stays
    EXPECT_EQ(List().SelectedIndex(), 1);
    RightClick(10);
    EXPECT_EQ(editor->Entries(), std::vector<std::string>{"c:\\y"});
}

TEST_F(FileListEditorTest, AddingOpensTheFieldBelowTheLastRowAndKeepsItOpen) {
    Load({});
    Click("addButton");
    EXPECT_EQ(C("InputField").Bounds().top, kList.top);
    EXPECT_TRUE(host.defaultCleared);
    for (int i = 1; i <= 8; ++i) {
        Type("c:\\f" + std::to_string(i));
        const TwipsRect field = C("InputField").Bounds();
        EXPECT_EQ(field.top, kList.top + List().ItemRect(i - 1).top + 195);
        EXPECT_EQ(field.left + field.width, C("InputButton").Bounds().left);
        EXPECT_EQ(field.width, kList.width - 255 - 30 - (i >= 8 ? 270 : 0)) << i;
    }
    EXPECT_EQ(host.edits, 8);
    Type("");
    EXPECT_FALSE(editor->EntryActive() || C("InputField").Visible() || host.defaultCleared);
    EXPECT_EQ(List().SelectedIndex(), 7);
    Click("addButton");
    EXPECT_EQ(C("InputField").Bounds().top, kList.top + List().ItemRect(7).top + 195 + 15);
}

TEST_F(FileListEditorTest, ChangingCommitsOnEnterAndEscOrLosingTheFocusStoresNothing) {
    Load({"c:\\a", "c:\\b"});
    List().SetSelectedIndex(1);
    Click("updateButton");
    EXPECT_EQ(C("InputField").Text(), "c:\\b");
    EXPECT_EQ(C("InputField").Bounds().top, kList.top + 195);
    Type("");  // unchanged
    EXPECT_EQ(host.edits, 0);
    EXPECT_TRUE(List().HasFocus());
    Click("updateButton");
    fake.ui.Input(fakes::TypeText{"Options", "x"});
    EXPECT_TRUE(editor->CancelEntry());
    EXPECT_FALSE(editor->CancelEntry() || editor->BrowseKey());
    Click("updateButton");
    List().SetFocus();
    EXPECT_FALSE(C("InputField").Visible() || C("InputButton").Visible() || host.defaultCleared);
    EXPECT_EQ(editor->Entries(), (std::vector<std::string>{"c:\\a", "c:\\b"}));
    Click("updateButton");
    fake.ui.Input(fakes::PressKey{"Options", {0x23}});  // End
    fake.ui.Input(fakes::PressKey{"Options", {keys::kBack}});
    Type("z");
    EXPECT_EQ(editor->Entries(), (std::vector<std::string>{"c:\\a", "c:\\z"}));
    EXPECT_EQ(List().ItemText(1), "c:\\z");
    EXPECT_EQ(List().SelectedIndex(), 1);
    EXPECT_EQ(host.edits, 1);
}

// The dialog starts in the field's folder when it exists, else in the last browsed one, with the
// field's last name; Select hands the choice back and the entry goes on.
TEST_F(FileListEditorTest, BrowsingStartsFromTheFieldsFolderAndName) {
    fake.files.AddFile("C:\\temp\\x.txt", "x");
    fake.files.AddFolder("C:\\WINDOWS");
    const struct {
        const char* typed;
        const char* chosen;
    } cases[] = {{"c:\\temp\\x.txt", "c:\\temp\\x.txt"},
                 {"c:\\nowhere\\x.txt", "c:\\windows\\x.txt"},
                 {"x.txt", "c:\\windows\\x.txt"},
                 {"", "c:\\windows\\*.*"}};
    Load({});
    for (const auto& c : cases) {
        editor->SetBrowseFolder("c:\\windows");
        Click("addButton");
        fake.ui.Input(fakes::TypeText{"Options", c.typed});
        fake.ui.Schedule(10, fakes::ClickOn{"FindFiles", "selectButton"});
        Click("InputButton");
        EXPECT_EQ(C("InputField").Text(), c.chosen);
        EXPECT_TRUE(editor->EntryActive() && C("InputButton").Visible() && host.defaultCleared);
        EXPECT_TRUE(editor->CancelEntry());
    }
    Click("addButton");
    fake.ui.Schedule(10, fakes::PressKey{"FindFiles", {keys::kEscape}});
    fake.files.AddFolder("C:\\temp\\sub");
    fake.ui.Input(fakes::TypeText{"Options", "c:\\temp\\sub\\"});
    EXPECT_TRUE(editor->BrowseKey());
    EXPECT_EQ(editor->BrowseFolder(), "c:\\temp\\sub");
    EXPECT_EQ(C("InputField").Text(), "c:\\temp\\sub\\") << "Esc keeps the text";
    EXPECT_TRUE(editor->EntryActive());
}

}  // namespace
}  // namespace kestrum
