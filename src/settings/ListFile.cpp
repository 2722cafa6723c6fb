#include "settings/ListFile.h"

#include <algorithm>

namespace kestrum {

std::vector<std::string> ParseListText(std::string_view text, std::size_t maxEntries) {
    std::vector<std::string> entries;
    std::size_t pos = 0;
    while (pos < text.size() && entries.size() < maxEntries) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        const std::size_t lineEnd = end == std::string_view::npos ? text.size() : end;
        if (lineEnd == pos) {
            break;
        }
        entries.emplace_back(text.substr(pos, lineEnd - pos));
        pos = lineEnd;
        // CR LF is one line end; CR or LF alone is one too.
        if (pos < text.size() && text[pos] == '\r') {
            ++pos;
            if (pos < text.size() && text[pos] == '\n') {
                ++pos;
            }
        } else if (pos < text.size()) {
            ++pos;
        }
    }
    return entries;
}

std::vector<std::string> ShownEntries(const OptionState& options) {
    std::vector<std::string> entries;
    const auto count = static_cast<std::size_t>(std::max<int>(options.SelectedFileCount, 0));
    for (std::size_t i = 1; i <= count && i < options.SelectedFiles.size(); ++i) {
        if (options.SelectedFiles[i].empty()) {
            break;
        }
        entries.push_back(options.SelectedFiles[i]);
    }
    return entries;
}

void LoadSelectedFiles(IFileSystem& files, const std::string& path, OptionState& options) {
    options.SelectedFileCount = 0;
    options.SelectedFiles.assign(1, std::string());

    if (path.empty() || !files.FileExists(path)) {
        return;
    }
    const auto text = files.ReadTextFile(path);
    if (!text) {
        return;
    }
    for (std::string& entry : ParseListText(*text, kMaxSelectedFiles)) {
        options.SelectedFiles.push_back(std::move(entry));
    }
    options.SelectedFileCount = static_cast<std::int16_t>(options.SelectedFiles.size() - 1);
}

bool WriteListFile(IFileSystem& files, const std::string& path,
                   const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) {
        text += entry;
        text += "\r\n";
    }
    return files.WriteTextFile(path, text);
}

}  // namespace kestrum
