// The File Selection dialog on the fakes, opened by a host that records what it is given.
#include "ui/selection/FileSelectionDialog.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace kestrum {
namespace {

struct Host final : IFileSelectionHost {
    void SetEntryText(const std::string& text) override { entry = text; }
    void SetBrowseFolder(const std::string& folder) override { browseFolder = folder; }
    void RestoreEntryField() override { ++restored; }
    TwipsRect Bounds() const override { return bounds; }

    std::string entry = "unchanged";
    std::string browseFolder;
    int restored = 0;
    TwipsRect bounds{3000, 2000, 7000, 6000};
};

class FileSelectionDialogTest : public ::testing::Test {
  protected:
    FileSelectionDialogTest() {
        fake.system.userName = "Bob";
        for (const char* file :
             {"C:\\WINDOWS\\win.ini", "C:\\WINDOWS\\System.INI", "C:\\WINDOWS\\notes.txt",
              "C:\\Documents and Settings\\Bob\\Desktop\\todo.txt"}) {
            fake.files.AddFile(file, "x");
        }
        // Never listed: hidden and system files, folders.
        fake.files.AddFile("C:\\WINDOWS\\hidden.ini", "x", attr::kHidden);
        fake.files.AddFile("C:\\WINDOWS\\boot.ini", "x", attr::kSystem);
        fake.files.AddFolder("C:\\WINDOWS\\folder.ini");
        dialog = std::make_unique<FileSelectionDialog>(platform, true, host);
        dialog->ChangePath("C:\\WINDOWS");
        dialog->window().Show();
    }
    std::vector<std::string> Listed() {
        auto& list = dynamic_cast<IListBox&>(*dialog->window().Find("FileList"));
        std::vector<std::string> names;
        for (int row = 0; row < list.Count(); ++row) {
            names.push_back(list.ItemText(row));
        }
        return names;
    }
    std::string Count() { return dialog->window().Find("FileCount")->Text(); }
    void Input(const fakes::UserInput& input) { fake.ui.Input(input); }

    fakes::FakePlatform fake;
    Platform platform = fake.services();
    Host host;
    std::unique_ptr<FileSelectionDialog> dialog;
};

// Names match without regard to case and list in the user's order.
TEST_F(FileSelectionDialogTest, TheNameFiltersTheListAndTheCountFollows) {
    EXPECT_EQ(Listed(), (std::vector<std::string>{"notes.txt", "System.INI", "win.ini"}));
    EXPECT_EQ(Count(), "3 files");
    dialog->SetFileName("WIN.INI");
    EXPECT_EQ(Listed(), std::vector<std::string>{"win.ini"});
    EXPECT_EQ(Count(), "1 file");
    dialog->window().Find("FileName")->SetFocus();
    Input(fakes::TypeText{"FindFiles", "*.ini"});
    EXPECT_EQ(dialog->window().Find("FileName")->Text(), "*.ini") << "the name was selected";
    EXPECT_EQ(Count(), "2 files");
    dialog->SetFileName("");
    EXPECT_EQ(Count(), "3 files") << "no name lists every file";
    // Centred over the host, the bottoms level.
    const TwipsRect bounds = dialog->window().Bounds();
    EXPECT_EQ(bounds.left, host.bounds.left + (host.bounds.width - bounds.width) / 2);
    EXPECT_EQ(bounds.top + bounds.height, host.bounds.top + host.bounds.height);
}

// Select hands back a file, a pattern or, from a double-click in the tree, the folder itself.
TEST_F(FileSelectionDialogTest, SelectWritesTheChoiceIntoTheHostsField) {
    const struct {
        const char* name;
        char how;  // a click on Select, Enter (Select is the default), a double click on the tree
        const char* entry;
    } cases[] = {
        {"notes.txt", 'c', "c:\\windows\\notes.txt"},
        {"*", 'c', "c:\\windows\\*.*"},
        {"*.log", 'e', "c:\\windows\\*.log"},
        {"notes.txt", 't', "c:\\windows\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        Host fresh;
        FileSelectionDialog box(platform, true, fresh);
        box.ChangePath("c:\\windows");
        box.window().Show();
        box.SetFileName(c.name);
        if (c.how == 't') {
            fake.ui.Input(fakes::OnTreeNode{"FindFiles", "FolderTree", "c:\\windows\\",
                                            fakes::TreeAction::DoubleClick});
        } else if (c.how == 'e') {
            fake.ui.Input(fakes::PressKey{"FindFiles", {keys::kEnter}});
        } else {
            fake.ui.Input(fakes::ClickOn{"FindFiles", "selectButton"});
        }
        EXPECT_EQ(fresh.entry, c.entry);
        EXPECT_FALSE(box.window().Loaded());
        EXPECT_EQ(fresh.restored, 1);
    }
}

// A click on a file names it without refiltering; Cancel, Esc and the close box leave the field
// but still pass on the folder and bring the entry field back.
TEST_F(FileSelectionDialogTest, ClosingWithoutSelectKeepsTheFieldButNotTheFolder) {
    Input(fakes::MouseAt{"FindFiles", {MouseAction::Press, MouseButton::Left, 30, 30}, "FileList"});
    Input(
        fakes::MouseAt{"FindFiles", {MouseAction::Release, MouseButton::Left, 30, 30}, "FileList"});
    EXPECT_EQ(dialog->window().Find("FileName")->Text(), "notes.txt");
    EXPECT_EQ(Listed().size(), 3u) << "the list keeps its pattern";

    // Each shortcut button has the picture of the folder it leads to above it.
    const auto picture = [this](const char* n) {
        return dynamic_cast<fakes::FakePicture&>(*dialog->window().Find(n)).picture;
    };
    EXPECT_EQ(picture("LocPicture(1)"), Picture::Desktop);
    EXPECT_EQ(picture("LocPicture(2)"), Picture::Documents);
    Input(fakes::ClickOn{"FindFiles", "Location(1)"});
    EXPECT_EQ(dialog->tree().Path(), "c:\\documents and settings\\bob\\desktop");
    EXPECT_EQ(Listed(), std::vector<std::string>{"todo.txt"});
    Input(fakes::PressKey{"FindFiles", {keys::kEscape}});
    EXPECT_FALSE(dialog->window().Loaded());
    EXPECT_EQ(host.entry, "unchanged");
    EXPECT_EQ(host.browseFolder, "c:\\documents and settings\\bob\\desktop");
    EXPECT_EQ(host.restored, 1);
}

TEST_F(FileSelectionDialogTest, AnotherWindowOfTheProgramComingForwardClosesIt) {
    auto about = fake.ui.CreateTopWindow("frmAbout", " About", 3000, 2000);
    about->Show();
    EXPECT_FALSE(dialog->window().Loaded());
    EXPECT_EQ(host.entry, "unchanged");
    EXPECT_EQ(host.browseFolder, "c:\\windows");
    EXPECT_EQ(host.restored, 1);
}

}  // namespace
}  // namespace kestrum
