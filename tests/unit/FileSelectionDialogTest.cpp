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
             {"C:\\WINDOWS\\win.ini", "C:\\WINDOWS\\system.ini", "C:\\WINDOWS\\notes.txt",
              "C:\\Documents and Settings\\Bob\\Desktop\\todo.txt"}) {
            fake.files.AddFile(file, "x");
        }
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

TEST_F(FileSelectionDialogTest, TheNameFiltersTheListAndTheCountFollows) {
    EXPECT_EQ(Listed(), (std::vector<std::string>{"notes.txt", "system.ini", "win.ini"}));
    EXPECT_EQ(Count(), "3 files");
    dialog->SetFileName("win.ini");
    EXPECT_EQ(Listed(), std::vector<std::string>{"win.ini"});
    EXPECT_EQ(Count(), "1 file");
    dialog->window().Find("FileName")->SetFocus();
    Input(fakes::TypeText{"FindFiles", "*.ini"});
    EXPECT_EQ(dialog->window().Find("FileName")->Text(), "*.ini") << "the name was selected";
    EXPECT_EQ(Count(), "2 files");
    for (const char* all : {"*", "*.", ".*", ""}) {
        dialog->SetFileName(all);
        EXPECT_EQ(Count(), "3 files") << all;
    }
}

// Select hands back a file, a pattern or, from a double-click in the tree, the folder itself.
TEST_F(FileSelectionDialogTest, SelectWritesTheChoiceIntoTheHostsField) {
    const struct {
        const char* name;
        bool treeDoubleClick;
        const char* entry;
    } cases[] = {
        {"notes.txt", false, "c:\\windows\\notes.txt"},
        {"*", false, "c:\\windows\\*.*"},
        {"*.log", false, "c:\\windows\\*.log"},
        {"notes.txt", true, "c:\\windows\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        Host fresh;
        FileSelectionDialog box(platform, true, fresh);
        box.ChangePath("c:\\windows");
        box.window().Show();
        box.SetFileName(c.name);
        if (c.treeDoubleClick) {
            fake.ui.Input(fakes::OnTreeNode{"FindFiles", "FolderTree", "c:\\windows\\",
                                            fakes::TreeAction::DoubleClick});
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
    const auto shortcut = [this](const std::string& n) {
        IWindow& w = dialog->window();
        return std::pair(
            w.Find("Location(" + n + ")")->Text(),
            dynamic_cast<fakes::FakePicture&>(*w.Find("LocPicture(" + n + ")")).picture);
    };
    EXPECT_EQ((std::vector{shortcut("1"), shortcut("2")}),
              (std::vector<std::pair<std::string, Picture>>{{"Desktop", Picture::Desktop},
                                                            {"My Documents", Picture::Documents}}));
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

TEST_F(FileSelectionDialogTest, TheDialogSitsOverItsHostInsideTheWorkArea) {
    const TwipsRect bounds = dialog->window().Bounds();
    const TwipsRect owner = host.bounds;
    EXPECT_EQ(bounds.left, owner.left + (owner.width - bounds.width) / 2);
    EXPECT_EQ(bounds.top + bounds.height, owner.top + owner.height) << "the bottoms level";
}

}  // namespace
}  // namespace kestrum
