#include "ui/selection/FolderTree.h"

#include <algorithm>
#include <cctype>

#include "common/Text.h"

namespace kestrum {

namespace {

// Folders with any attribute bit above this one are never shown.
constexpr std::uint32_t kHighestShownAttribute = 128;

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

TreeImages DriveImages(DriveType type) {
    switch (type) {
        case DriveType::Fixed:
            return treeimages::kFixed;
        case DriveType::Network:
            return treeimages::kNetwork;
        case DriveType::CompactDisc:
            return treeimages::kCompactDisc;
        default:
            return treeimages::kRemovable;
    }
}

std::string TitleCase(const std::string& caption) {
    if (caption.size() <= 1) {
        return caption.empty() ? caption : std::string(1, Upper(caption[0]));
    }
    std::string text = std::string(1, Upper(caption[0])) + ToLowerAscii(caption.substr(1));
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i - 1] == ' ') {
            text[i] = Upper(text[i]);
        }
    }
    return text;
}

std::string DriveNodeText(const DriveInfo& drive) {
    std::string caption;
    switch (drive.type) {
        case DriveType::Fixed:
            caption = drive.volumeName.empty() ? "Fixed Disk" : drive.volumeName;
            break;
        case DriveType::Network:
            caption = !drive.shareName.empty()    ? drive.shareName
                      : !drive.volumeName.empty() ? drive.volumeName
                                                  : "Network Drive";
            break;
        case DriveType::CompactDisc:
            caption = "Compact Disc";
            break;
        default: {
            const char letter =
                static_cast<char>(std::tolower(static_cast<unsigned char>(drive.letter)));
            caption = letter == 'a' || letter == 'b' ? "Floppy Drive" : "Removable Drive";
            break;
        }
    }
    const std::string drivePart = ToLowerAscii(std::string(1, drive.letter)) + ":";
    caption = TitleCase(caption);
    return caption.empty() ? drivePart : drivePart + "  (" + caption + ")";
}

TreeFolders UserTreeFolders(bool isWindowsNt, const std::string& userName,
                            const std::string& windowsFolder) {
    if (isWindowsNt) {
        const std::string profile = "c:\\documents and settings\\" + userName;
        return {profile + "\\desktop\\", profile + "\\my documents\\"};
    }
    return {windowsFolder + "\\desktop\\", "c:\\my documents\\"};
}

std::vector<std::string> TreeSubfolders(IFileSystem& files, ILocale& locale,
                                        const std::string& folder) {
    std::vector<std::string> names;
    const auto entries = files.ListFolder(folder);
    if (!entries) {
        return names;
    }
    for (const FolderEntry& entry : *entries) {
        if (entry.attributes <= kHighestShownAttribute && (entry.attributes & attr::kDirectory) &&
            !entry.name.empty() && entry.name[0] != '.') {
            names.push_back(entry.name);
        }
    }
    std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return locale.CompareNames(a, b) < 0;
    });
    return names;
}

std::string NormalizeNodePath(const std::string& fullPath) {
    const std::string lower = ToLowerAscii(fullPath);
    const std::size_t caption = lower.find("  (");
    if (caption == std::string::npos) {
        return lower;
    }
    const std::size_t close = lower.find(')');
    const std::string rest =
        close != std::string::npos && close + 1 < lower.size() ? lower.substr(close + 1) : "";
    return lower.substr(0, caption) + rest;
}

std::string SelectedPathOfKey(const std::string& key) {
    std::string path = NormalizeNodePath(key);
    if (path.size() > 3 && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

std::string TreeWalkPath(const std::string& path, const TreeFolders& folders) {
    const std::string lower = ToLowerAscii(path);
    if (StartsWith(lower, folders.desktop)) {
        return "desktop\\" + lower.substr(folders.desktop.size());
    }
    if (StartsWith(lower, folders.documents)) {
        return "my documents\\" + lower.substr(folders.documents.size());
    }
    return lower;
}

}  // namespace kestrum
