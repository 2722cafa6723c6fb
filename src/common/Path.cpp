#include "common/Path.h"

namespace kestrum {

std::string WithTrailingSeparator(std::string_view folder) {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\') {
        path += '\\';
    }
    return path;
}

std::string WithoutTrailingSeparator(std::string_view path) {
    while (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return std::string(path);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) {
        return std::string();
    }
    return WithTrailingSeparator(folder) + std::string(name);
}

}  // namespace kestrum
