#include "ui/selection/FolderTree.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace kestrum {
namespace {

TEST(FolderTree, DriveRootsAreCaptionedByTheirKindAndTitleCased) {
    const struct {
        DriveInfo drive;
        std::string text;
        int image;
    } cases[] = {
        {{'C', DriveType::Fixed, "", ""}, "c:  (Fixed Disk)", 7},
        {{'C', DriveType::Fixed, "SYSTEM DISK", ""}, "c:  (System Disk)", 7},
        {{'C', DriveType::Fixed, "wIN xp", ""}, "c:  (Win Xp)", 7},
        {{'X', DriveType::Fixed, "x", ""}, "x:  (X)", 7},
        {{'N', DriveType::Network, "DATA", "\\\\Server\\Share"}, "n:  (\\\\server\\share)", 21},
        {{'N', DriveType::Network, "DATA", ""}, "n:  (Data)", 21},
        {{'N', DriveType::Network, "", ""}, "n:  (Network Drive)", 21},
        {{'D', DriveType::CompactDisc, "MY CD", ""}, "d:  (Compact Disc)", 10},
        {{'A', DriveType::Removable, "", ""}, "a:  (Floppy Drive)", 4},
        {{'B', DriveType::Unknown, "", ""}, "b:  (Floppy Drive)", 4},
        {{'E', DriveType::RamDisk, "", ""}, "e:  (Removable Drive)", 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DriveNodeText(c.drive), c.text);
        EXPECT_EQ(DriveImages(c.drive.type).normal, c.image) << c.text;
    }
}

TEST(FolderTree, TheUsersFoldersFollowTheFamily) {
    const TreeFolders nt = UserTreeFolders(true, "bob", "c:\\windows");
    EXPECT_EQ(nt.desktop, "c:\\documents and settings\\bob\\desktop\\");
    EXPECT_EQ(nt.documents, "c:\\documents and settings\\bob\\my documents\\");
    const TreeFolders nine = UserTreeFolders(false, "bob", "c:\\windows");
    EXPECT_EQ(nine.desktop, "c:\\windows\\desktop\\");
    EXPECT_EQ(nine.documents, "c:\\my documents\\");
}

// Hidden and system folders show; a name beginning with "." and a folder with an attribute
// above the archive bit never do; the rest in the user's order of names.
TEST(FolderTree, SubfoldersAreFilteredAndSortedAsTheUserReadsThem) {
    fakes::FakeFileSystem files;
    fakes::FakeLocale locale;
    const std::pair<const char*, std::uint32_t> folders[] = {{"cherry", 0},
                                                             {"apple", 0},
                                                             {"Banana", 0},
                                                             {".config", 0},
                                                             {"Hidden", attr::kHidden},
                                                             {"System", attr::kSystem},
                                                             {"Packed", 0x800},
                                                             {"Link", attr::kReparsePoint}};
    for (const auto& [name, attributes] : folders) {
        files.AddFolder(std::string("C:\\top\\") + name, attr::kDirectory | attributes);
    }
    files.AddFile("C:\\top\\afile.txt", "x");
    EXPECT_EQ(TreeSubfolders(files, locale, "C:\\top\\"),
              (std::vector<std::string>{"apple", "Banana", "cherry", "Hidden", "System"}));
    EXPECT_TRUE(TreeSubfolders(files, locale, "C:\\missing\\").empty());
}

TEST(FolderTree, NodePathsMapToDirectoriesAndBack) {
    const std::pair<const char*, const char*> normalized[] = {
        {"c:  (Fixed Disk)", "c:"},
        {"C:  (Fixed Disk)\\Windows\\System32", "c:\\windows\\system32"},
        {"Desktop\\Notes", "desktop\\notes"},
        {"n:  (\\\\server\\share)\\Data", "n:\\data"},
    };
    for (const auto& [fullPath, path] : normalized) {
        EXPECT_EQ(NormalizeNodePath(fullPath), path) << fullPath;
    }
    EXPECT_EQ(SelectedPathOfKey("c:\\"), "c:\\");
    EXPECT_EQ(SelectedPathOfKey("c:\\windows\\"), "c:\\windows");
    EXPECT_EQ(SelectedPathOfKey("c:\\documents and settings\\bob\\desktop\\"),
              "c:\\documents and settings\\bob\\desktop");

    const TreeFolders folders = UserTreeFolders(true, "bob", "c:\\windows");
    const std::pair<const char*, const char*> walks[] = {
        {"C:\\Documents and Settings\\Bob\\Desktop\\Notes\\", "desktop\\notes\\"},
        {"c:\\documents and settings\\bob\\my documents\\", "my documents\\"},
        {"c:\\documents and settings\\bob\\desktop2\\",
         "c:\\documents and settings\\bob\\desktop2\\"},
        {"C:\\Windows\\", "c:\\windows\\"},
    };
    for (const auto& [path, walk] : walks) {
        EXPECT_EQ(TreeWalkPath(path, folders), walk) << path;
    }
}

}  // namespace
}  // namespace kestrum
