#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/Ui.h"

namespace kestrum {

// The folder tree's images, by role: each class has a normal, a selected and an on-path image
// (the one an ancestor of the selected node shows); a folder also has its open image.
struct TreeImages {
    int normal;
    int selected;
    int onPath;
};
namespace treeimages {
using namespace tree_images;
inline constexpr TreeImages kDesktop{tree_images::kDesktop, kDesktopSelected, kDesktopOnPath};
inline constexpr TreeImages kDocuments{tree_images::kDocuments, kDocumentsSelected,
                                       kDocumentsOnPath};
inline constexpr TreeImages kRemovable{tree_images::kRemovable, kRemovableSelected,
                                       kRemovableOnPath};
inline constexpr TreeImages kFixed{tree_images::kFixed, kFixedSelected, kFixedOnPath};
inline constexpr TreeImages kCompactDisc{kCd, kCdSelected, kCdOnPath};
inline constexpr TreeImages kFolder{tree_images::kFolder, kFolderSelected, kFolderOnPath};
inline constexpr int kOpenFolder = kFolderOpen;
inline constexpr TreeImages kNetwork{tree_images::kNetwork, kNetworkSelected, kNetworkOnPath};
}  // namespace treeimages

// The images of a drive root by the drive's kind; RAM disks and drives of no known kind count
// as removable.
TreeImages DriveImages(DriveType type);

// A caption with its first letter and every letter after a blank upper-cased, the rest lower.
std::string TitleCase(const std::string& caption);

// The text of a drive's root node: "c:  (Fixed Disk)", with two blanks before the parenthesis.
std::string DriveNodeText(const DriveInfo& drive);

// The user's desktop and documents folders as the tree shows them: lower case, with a trailing
// separator. userName and windowsFolder are lower case.
struct TreeFolders {
    std::string desktop;
    std::string documents;
};
TreeFolders UserTreeFolders(bool isWindowsNt, const std::string& userName,
                            const std::string& windowsFolder);

// The sub-folders of a folder as the tree lists them: hidden and system ones too, but none whose
// name begins with "." and none with an attribute above the archive bit (compressed, encrypted,
// reparse points and the like); in the user's order of names. Nothing when it cannot be listed.
std::vector<std::string> TreeSubfolders(IFileSystem& files, ILocale& locale,
                                        const std::string& folder);

// A node's full path ("c:  (Fixed Disk)\Windows") as a lower-case path ("c:\windows"): the
// drive's caption is cut out.
std::string NormalizeNodePath(const std::string& fullPath);

// The path a selected node's key stands for: a folder without its trailing separator, a drive
// root with it ("c:\").
std::string SelectedPathOfKey(const std::string& key);

// A path as the tree walks it: lower case, with the desktop or documents folder at its start
// replaced by that root's name ("desktop\notes\").
std::string TreeWalkPath(const std::string& path, const TreeFolders& folders);

}  // namespace kestrum
