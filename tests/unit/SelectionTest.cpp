#include "ui/selection/FileSelection.h"
#include "ui/selection/FolderTree.h"

#include <gtest/gtest.h>

#include <tuple>

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

// The tree's own walks are the explorer tree's tests; here the cases it never meets there: a
// network drive's caption, the documents root and the 9x family's folders.
TEST(FolderTree, NodePathsMapToDirectoriesAndBack) {
    EXPECT_EQ(NormalizeNodePath("n:  (\\\\server\\share)\\Data"), "n:\\data");
    EXPECT_EQ(NormalizeNodePath("c:  (Fixed Disk)"), "c:");
    const TreeFolders nt = UserTreeFolders(true, "bob", "c:\\windows");
    EXPECT_EQ(TreeWalkPath("c:\\documents and settings\\bob\\my documents\\x\\", nt),
              "my documents\\x\\");
    const TreeFolders nine = UserTreeFolders(false, "bob", "c:\\windows");
    EXPECT_EQ(nine.desktop + "|" + nine.documents, "c:\\windows\\desktop\\|c:\\my documents\\");
}

TEST(FileSelection, CountsPatternsAndResults) {
    fakes::FakeLocale locale;
    const std::pair<std::uint64_t, const char*> counts[] = {
        {0, "0 files"}, {1, "1 file"}, {25, "25 files"}, {1204, "1,204 files"}};
    for (const auto& [count, text] : counts) {
        EXPECT_EQ(FileCountText(count, locale), text);
    }
    for (const char* typed : {"", "*", "*.", ".*"}) {
        EXPECT_EQ(ListPatternFor(typed), "*.*") << typed;
    }
    EXPECT_EQ(ListPatternFor("*.ini"), "*.ini");
    const std::tuple<const char*, const char*, const char*> results[] = {
        {"c:\\temp", "", "c:\\temp\\"},
        {"c:\\", ".*", "c:\\*.*"},
        {"", "x.txt", "\\x.txt"},
    };
    for (const auto& [folder, name, result] : results) {
        EXPECT_EQ(SelectionResult(folder, name), result);
    }
}

// Centred over the owner with the bottoms level, pushed into the work area where it would leave
// it on the left, at the bottom or at the top.
TEST(FileSelection, TheDialogSitsOverItsOwnerInsideTheWorkArea) {
    const TwipsRect work{0, 0, 15360, 11070};
    const struct {
        TwipsRect owner;
        int left, top;
    } cases[] = {
        {{3000, 2000, 7000, 6000}, 3155, 3590},
        {{-2000, 2000, 7000, 6000}, 0, 3590},
        {{3000, 8000, 7000, 6000}, 3155, 11070 - 4410},
        {{3000, 0, 7000, 3000}, 3155, 0},
    };
    for (const auto& c : cases) {
        const TwipsPoint at = PlaceOverOwner(c.owner, 6690, 4410, work);
        EXPECT_EQ(std::make_pair(at.left, at.top), std::make_pair(c.left, c.top));
    }
}

}  // namespace
}  // namespace kestrum
