// The selected-files list and its entry field on the fakes, with a host that records.
#include "ui/options/FileListEditor.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace kestrum {
namespace {

using Paths = std::vector<std::string>;

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
    void Load(const Paths& paths, bool tick = true) {
        OptionState options;
        options.SelectedFileCount = static_cast<std::int16_t>(paths.size());
        options.SelectedFiles.insert(options.SelectedFiles.end(), paths.begin(), paths.end());
        editor->Fill(options);
        host.box->SetValue(tick);
        editor->UpdateControls();
    }
    IControl& C(const std::string& name) { return *window->Find(name); }
    IListBox& List() { return dynamic_cast<IListBox&>(C("FileList")); }
    void Click(const char* control) { fake.ui.Input(fakes::ClickOn{"Options", control}); }
    void Type(const std::string& text, bool enter = true) {
        fake.ui.Input(fakes::TypeText{"Options", text});
        if (enter) {
            fake.ui.Input(fakes::PressKey{"Options", {keys::kEnter}});
        }
    }
    void RightClick(int y) {
        const MouseEvent release{MouseAction::Release, MouseButton::Right, 60, y};
        fake.ui.Input(fakes::MouseAt{"Options", release, "FileList"});
    }
    bool Enabled(const char* name) { return C(name).Enabled(); }

    fakes::FakePlatform fake;
    Platform platform = fake.services();
    std::unique_ptr<IWindow> window = fake.ui.CreateTopWindow("Options", " Options", 9000, 7000);
    Host host;
    std::unique_ptr<FileListEditor> editor;
};

TEST_F(FileListEditorTest, RowsKeepTheDriveAndLastNameAndAreHitThroughTheirRectangles) {
    const std::string path = "C:\\folder\\dir2\\file.txt";  // 23 characters of 105 twips
    const struct {
        std::string path;
        int width;
        const char* shown;
    } cases[] = {{path, 23 * 105 + 60, "C:\\folder\\dir2\\file.txt"},
                 {path, 21 * 105 + 60, "C:\\ ...\\dir2\\file.txt"},
                 {path, 21 * 105 + 59, "C:\\ ...\\file.txt"},
                 {"C:\\a\\long-name.txt", 500, "C:\\ ...\\long-name.txt"},
                 {"C:\\long-name.txt", 500, "C:\\long-name.txt"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ShortenPath(*window, c.path, c.width, 2), c.shown) << c.width;
    }
    Load({"a", "b", "c"});
    const int right = List().ItemRect(0).width;
    const int hits[][3] = {
        {0, 0, 0}, {right, 195, 0}, {9, 196, 1}, {9, 586, -1}, {right + 1, 9, -1}};
    for (const auto& h : hits) {
        EXPECT_EQ(ListItemAt(List(), h[0], h[1]), h[2]) << h[0] << "," << h[1];
    }
    List().SetSelectedIndex(1);
    EXPECT_EQ(ListItemBottom(List()), 390);
    List().SetSelectedIndex(-1);
    EXPECT_EQ(ListItemBottom(List()), 0);
    List().SetFocus();
    EXPECT_EQ(List().SelectedIndex(), 0) << "the focus selects the first row when none is";
}

TEST_F(FileListEditorTest, TheControlsFollowTheBoxFromTheStart) {
    Load({"c:\\a", "c:\\b", "", "c:\\d"}, false);
    EXPECT_EQ(editor->Entries(), (Paths{"c:\\a", "c:\\b"}));
    EXPECT_FALSE(Enabled("FileList") || Enabled("addButton") || Enabled("removeButton"));
    host.box->SetValue(true);
    editor->UpdateControls();
    EXPECT_TRUE(Enabled("FileList") && Enabled("addButton") && Enabled("clearButton"));
}

TEST_F(FileListEditorTest, RemoveSelectsTheRowAboveAndClearEmptiesTheList) {
    const struct {
        int selected;
        int after;
        Paths left;
    } cases[] = {{0, 0, {"b", "c"}}, {2, 1, {"a", "b"}}, {1, 0, {"a", "c"}}};
    for (const auto& c : cases) {
        Load({"a", "b", "c"});
        List().SetSelectedIndex(c.selected);
        Click("removeButton");
        EXPECT_EQ(editor->Entries(), c.left);
        EXPECT_TRUE(List().SelectedIndex() == c.after && List().HasFocus());
        Click("clearButton");
        EXPECT_TRUE(editor->Entries().empty() && List().Count() == 0 && host.box->HasFocus());
        EXPECT_TRUE(Enabled("addButton") && !Enabled("updateButton") && !Enabled("clearButton"));
    }
    Load({"only"});
    Click("removeButton");
    EXPECT_TRUE(host.box->HasFocus() && !Enabled("removeButton"));
    EXPECT_EQ(host.edits, 7);
}

TEST_F(FileListEditorTest, TheMenuOffersOnlyAddOnAnEmptyListAndActsOnTheRowClicked) {
    Load({});
    fake.ui.menuChoices = {"Remove", "Add"};
    RightClick(10);
    EXPECT_FALSE(editor->EntryActive());
    RightClick(10);
    Type("c:\\x");
    Type("c:\\y");
    Type("");
    fake.ui.menuChoices = {"none", "Remove"};
    RightClick(900);  // below the rows: the selection stays
    EXPECT_EQ(List().SelectedIndex(), 1);
    RightClick(10);
    EXPECT_EQ(editor->Entries(), Paths{"c:\\y"});
}

TEST_F(FileListEditorTest, AddingOpensTheFieldBelowTheLastRowAndKeepsItOpen) {
    Load({});
    Click("addButton");
    EXPECT_TRUE(C("InputField").Bounds().top == kList.top && host.defaultCleared);
    for (int i = 1; i <= 8; ++i) {
        Type("c:\\f" + std::to_string(i));
        EXPECT_TRUE(Enabled("removeButton")) << "a row to act on";
        const TwipsRect field = C("InputField").Bounds();
        EXPECT_EQ(field.top, kList.top + List().ItemRect(i - 1).top + 195);
        EXPECT_EQ(field.left + field.width, C("InputButton").Bounds().left);
        EXPECT_EQ(field.width, kList.width - 255 - 30 - (i >= 8 ? 270 : 0)) << i;
    }
    Type("");
    EXPECT_FALSE(editor->EntryActive() || C("InputField").Visible() || host.defaultCleared);
    EXPECT_TRUE(List().SelectedIndex() == 7 && host.edits == 8);
    Click("addButton");
    EXPECT_EQ(C("InputField").Bounds().top, kList.top + List().ItemRect(7).top + 195 + 15);
}

TEST_F(FileListEditorTest, ChangingCommitsOnEnterAndEscOrLosingTheFocusStoresNothing) {
    Load({"c:\\a", "c:\\b"});
    List().SetSelectedIndex(1);
    Click("updateButton");
    EXPECT_TRUE(C("InputField").Text() == "c:\\b" &&
                C("InputField").Bounds().top == kList.top + 195);
    Type("");  // unchanged
    EXPECT_TRUE(host.edits == 0 && List().HasFocus());
    Click("updateButton");
    Type("x", false);
    EXPECT_TRUE(editor->CancelEntry());
    EXPECT_FALSE(editor->CancelEntry() || editor->BrowseKey());
    Click("updateButton");
    List().SetFocus();
    EXPECT_FALSE(C("InputField").Visible() || C("InputButton").Visible() || host.defaultCleared);
    // A press on the browse button that ends off it, or a Tab onto it, keeps it while it has
    // the focus; it goes with the focus.
    Click("updateButton");
    C("InputButton").SetFocus();
    EXPECT_TRUE(!C("InputField").Visible() && C("InputButton").Visible());
    List().SetFocus();
    EXPECT_FALSE(C("InputButton").Visible());
    EXPECT_EQ(editor->Entries(), (Paths{"c:\\a", "c:\\b"}));
    Click("updateButton");
    Type("z");
    EXPECT_EQ(editor->Entries(), (Paths{"c:\\a", "zc:\\b"}));
    EXPECT_TRUE(List().ItemText(1) == "zc:\\b" && List().SelectedIndex() == 1 && host.edits == 1);
}

// The dialog starts in the field's folder when it exists, else in the last browsed one, with the
// field's last name; Select hands the choice back, Esc only the folder, and the entry goes on.
TEST_F(FileListEditorTest, BrowsingStartsFromTheFieldsFolderAndName) {
    fake.files.AddFile("C:\\temp\\sub\\x.txt", "x");
    fake.files.AddFolder("C:\\WINDOWS");
    const struct {
        const char* typed;
        const char* chosen;
    } cases[] = {{"c:\\temp\\x.txt", "c:\\temp\\x.txt"},
                 {"c:\\nowhere\\x.txt", "c:\\windows\\x.txt"},
                 {"x.txt", "c:\\windows\\x.txt"},
                 {"", "c:\\windows\\*.*"},
                 {"c:\\temp\\sub\\", nullptr}};
    Load({});
    for (const auto& c : cases) {
        editor->SetBrowseFolder("c:\\windows");
        Click("addButton");
        Type(c.typed, false);
        fake.ui.Schedule(10, c.chosen != nullptr
                                 ? fakes::UserInput(fakes::ClickOn{"FindFiles", "selectButton"})
                                 : fakes::PressKey{"FindFiles", {keys::kEscape}});
        // F4 browses as the button does.
        if (c.chosen != nullptr) {
            Click("InputButton");
        } else {
            EXPECT_TRUE(editor->BrowseKey());
        }
        EXPECT_EQ(C("InputField").Text(), c.chosen != nullptr ? c.chosen : c.typed);
        EXPECT_TRUE(editor->EntryActive() && C("InputButton").Visible() && host.defaultCleared);
        if (c.chosen == nullptr) {
            EXPECT_EQ(editor->BrowseFolder(), "c:\\temp\\sub");
        }
    }
}

}  // namespace
}  // namespace kestrum
