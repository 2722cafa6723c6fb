#include "ui/selection/FileSelection.h"

#include <algorithm>

#include "common/Text.h"
#include "engine/Removal.h"

namespace kestrum {

namespace {

bool MeansEveryFile(const std::string& name) {
    return name == "*" || name == "*." || name == ".*";
}

}  // namespace

std::string FileCountText(std::uint64_t count, ILocale& locale) {
    return count == 1 ? "1 file" : locale.FormatCount(count) + " files";
}

std::string ListPatternFor(const std::string& typed) {
    return typed.empty() || MeansEveryFile(typed) ? "*.*" : typed;
}

std::vector<std::string> MatchingFiles(IFileSystem& files, ILocale& locale,
                                       const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    const auto entries = folder.empty() ? std::nullopt : files.ListFolder(folder);
    if (!entries) {
        return names;
    }
    const std::string lowerPattern = ToLowerAscii(pattern);
    constexpr std::uint32_t kLeftOut = attr::kDirectory | attr::kHidden | attr::kSystem;
    for (const FolderEntry& entry : *entries) {
        // Names match as the system's file searches match them, without regard to case.
        if ((entry.attributes & kLeftOut) == 0 &&
            MatchesPattern(ToLowerAscii(entry.name), lowerPattern)) {
            names.push_back(entry.name);
        }
    }
    std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return locale.CompareNames(a, b) < 0;
    });
    return names;
}

std::string SelectionResult(const std::string& treePath, const std::string& fileName) {
    const std::string name = MeansEveryFile(fileName) ? "*.*" : fileName;
    const bool separated = !treePath.empty() && treePath.back() == '\\';
    return treePath + (separated ? "" : "\\") + name;
}

TwipsPoint PlaceOverOwner(const TwipsRect& owner, int width, int height,
                          const TwipsRect& workArea) {
    TwipsPoint at{owner.left + (owner.width - width) / 2, owner.top + owner.height - height};
    at.left = std::max(at.left, workArea.left);
    at.top = std::min(at.top, workArea.top + workArea.height - height);
    // A title bar above the screen could not be reached to move the dialog back.
    at.top = std::max(at.top, workArea.top);
    return at;
}

}  // namespace kestrum
