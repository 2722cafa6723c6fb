#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/Ui.h"

namespace kestrum {

// "1 file", else the count with the user's thousands separator and " files".
std::string FileCountText(std::uint64_t count, ILocale& locale);

// The file list's pattern for what the user typed as the file name: an empty name and the
// patterns that mean every file ("*", "*.", ".*") list all; anything else is taken as it stands.
std::string ListPatternFor(const std::string& typed);

// The names of a folder's files that match the pattern, without case, in the user's order;
// hidden and system files and folders are left out. Nothing when it cannot be listed.
std::vector<std::string> MatchingFiles(IFileSystem& files, ILocale& locale,
                                       const std::string& folder, const std::string& pattern);

// What the dialog hands back: the tree's folder with a trailing separator and the file name, a
// pattern that means every file written as "*.*"; an empty name gives the folder alone.
std::string SelectionResult(const std::string& treePath, const std::string& fileName);

// The dialog's top left corner: centred over its owner and with their bottoms level, but never
// left of the work area's left edge, above its top or below its bottom.
struct TwipsPoint {
    int left = 0;
    int top = 0;
};
TwipsPoint PlaceOverOwner(const TwipsRect& owner, int width, int height, const TwipsRect& workArea);

}  // namespace kestrum
