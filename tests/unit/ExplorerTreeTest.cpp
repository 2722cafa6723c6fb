// The folder tree on the fake file system and toolkit, for the user Bob.
#include "ui/selection/ExplorerTreeView.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace kestrum {
namespace {

const std::string kDesktop = "c:\\documents and settings\\bob\\desktop\\";

class ExplorerTreeTest : public ::testing::Test {
  protected:
    ExplorerTreeTest() {
        fake.system.userName = "Bob";
        // Parents first, so each keeps the case it is made with.
        for (const char* folder : {"C:\\WINDOWS\\system32\\drivers", "C:\\WINDOWS\\Fonts",
                                   "C:\\Documents and Settings\\Bob\\Desktop\\Notes",
                                   "C:\\Documents and Settings\\Bob\\Desktop\\Notes\\old",
                                   "C:\\Documents and Settings\\Bob\\Desktop2\\x",
                                   "C:\\Documents and Settings\\Bob\\My Documents\\Letters"}) {
            fake.files.AddFolder(folder);
        }
        fake.files.DescribeDrive({'A', DriveType::Removable, "", ""});
        fake.files.DescribeDrive({'D', DriveType::CompactDisc, "", ""});
        explorer = std::make_unique<ExplorerTreeView>(
            *window, "FolderTree", TwipsRect{1515, 120, 5055, 2220}, platform, true, PropertyBag{});
        window->Show();
    }
    ITreeView& Tree() { return explorer->tree(); }
    int Image(const std::string& key) { return Tree().NodeImage(Tree().FindNode(key)); }
    void User(const std::string& key, fakes::TreeAction action = fakes::TreeAction::Click) {
        fake.ui.Input(fakes::OnTreeNode{"FindFiles", "FolderTree", key, action});
    }

    fakes::FakePlatform fake;
    Platform platform = fake.services();
    std::unique_ptr<IWindow> window =
        fake.ui.CreateTopWindow("FindFiles", " File Selection", 6690, 4410);
    std::unique_ptr<ExplorerTreeView> explorer;
};

TEST_F(ExplorerTreeTest, TheRootsAreTheUsersFoldersThenEveryDrive) {
    std::vector<std::string> roots;
    for (TreeNode node : Tree().Nodes()) {
        if (Tree().Parent(node) == kNoNode) {
            roots.push_back(Tree().NodeKey(node) + "=" + Tree().NodeText(node));
        }
    }
    EXPECT_EQ(
        roots,
        (std::vector<std::string>{
            kDesktop + "=Desktop", "c:\\documents and settings\\bob\\my documents\\=My Documents",
            "a:\\=a:  (Floppy Drive)", "c:\\=c:  (Fixed Disk)", "d:\\=d:  (Compact Disc)"}));
    EXPECT_NE(Tree().FindNode(kDesktop + "Notes\\"), kNoNode) << "a root's children come at once";
    EXPECT_EQ(Tree().FindNode(kDesktop + "Notes\\old\\"), kNoNode) << "one level ahead only";
    EXPECT_EQ(Tree().Bounds().width, 5055 - 60);
}

// A path opens the tree down to its folder and marks the way; the path read back, assigned again,
// does nothing, another case walks again, a missing folder selects the C: root.
TEST_F(ExplorerTreeTest, APathOpensItsFolderAndMarksTheWay) {
    int clicks = 0;
    explorer->SetOnNodeClick([&](TreeNode) { ++clicks; });
    explorer->SetPath("C:\\Windows\\System32");
    EXPECT_EQ(explorer->Path(), "c:\\windows\\system32");
    EXPECT_EQ(Tree().Selected(), Tree().FindNode("c:\\windows\\system32\\"));
    EXPECT_EQ(std::make_pair(Image("c:\\"), Image("c:\\windows\\")), std::make_pair(9, 16));
    EXPECT_TRUE(Tree().Expanded(Tree().FindNode("c:\\windows\\")));
    EXPECT_NE(Tree().FindNode("c:\\windows\\system32\\drivers\\"), kNoNode);
    explorer->SetPath("c:\\windows\\system32");
    explorer->SetPath("c:\\windows\\system32\\");
    EXPECT_EQ(clicks, 1) << "the spelling the tree reads back changes nothing, separator or not";
    EXPECT_FALSE(Tree().Busy()) << "the hourglass goes when the listing is done";
    explorer->SetPath("C:\\Windows\\System32");
    EXPECT_EQ(clicks, 2) << "another spelling walks again";

    explorer->SetPath(kDesktop + "notes\\");
    EXPECT_EQ(Tree().Selected(), Tree().FindNode(kDesktop + "Notes\\")) << "below the Desktop root";
    EXPECT_EQ(Image(kDesktop), 20);
    EXPECT_EQ(Image("c:\\windows\\"), 14) << "the old way is restored, open";
    explorer->SetPath("c:\\documents and settings\\bob\\desktop2");
    EXPECT_EQ(explorer->Path(), "c:\\documents and settings\\bob\\desktop2") << "below its drive";
    explorer->SetPath("c:\\no such folder");
    EXPECT_EQ(explorer->Path(), "c:\\");
}

TEST_F(ExplorerTreeTest, ClicksOpeningAndClosingChangeThePictures) {
    User("c:\\", fakes::TreeAction::Toggle);
    EXPECT_EQ(Image("c:\\"), 7) << "a drive root keeps its picture open";
    User("c:\\windows\\", fakes::TreeAction::Toggle);
    EXPECT_EQ(Image("c:\\windows\\"), 14);
    User("c:\\windows\\Fonts\\");
    EXPECT_EQ(std::make_pair(Image("c:\\"), Image("c:\\windows\\")), std::make_pair(9, 16));
    User("c:\\");
    EXPECT_EQ(std::make_pair(Image("c:\\"), Image("c:\\windows\\")), std::make_pair(7, 14));
    User("c:\\windows\\", fakes::TreeAction::Toggle);
    EXPECT_EQ(Image("c:\\windows\\"), 13);
}

// The dialog's settings reach the tree; what it leaves out keeps the defaults.
TEST_F(ExplorerTreeTest, SettingsReachTheTree) {
    EXPECT_TRUE(Tree().Options().hideSelection && Tree().Options().linesToRoots);
    PropertyBag design;
    design.Write("HotTracking", true, false);
    design.Write("HideSelection", false, true);
    ExplorerTreeView second(*window, "Other", {0, 0, 3000, 2000}, platform, true, design);
    EXPECT_TRUE(second.tree().Options().hotTracking && !second.tree().Options().hideSelection);
    EXPECT_EQ(second.tree().Bounds().width, 2940);
    EXPECT_EQ(second.tree().Bounds().height, 1940);
}

}  // namespace
}  // namespace kestrum
