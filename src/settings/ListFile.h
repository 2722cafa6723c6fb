#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "settings/StartupState.h"

namespace kestrum {

inline constexpr char kListFileName[] = "Kestrum.lst";
// The count is a signed 16-bit number.
inline constexpr std::size_t kMaxSelectedFiles = 32767;

// The entries of a list file's text: one a line, whether lines end in CR LF, LF or CR alone.
// An empty line ends the list, and at most maxEntries are taken.
std::vector<std::string> ParseListText(std::string_view text, std::size_t maxEntries);

// Reads the list file at `path` into SelectedFiles and SelectedFileCount. A missing or
// unreadable file leaves the list empty and creates nothing.
void LoadSelectedFiles(IFileSystem& files, const std::string& path, OptionState& options);

// The entries the windows show: 1 up to the count, stopping at the first empty one.
std::vector<std::string> ShownEntries(const OptionState& options);

// Replaces the list file's content: every entry followed by CR LF.
bool WriteListFile(IFileSystem& files, const std::string& path,
                   const std::vector<std::string>& entries);

}  // namespace kestrum
