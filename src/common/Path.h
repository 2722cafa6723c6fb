#pragma once

#include <string>
#include <string_view>

namespace kestrum {

// Windows paths as plain strings, "\" as the separator.
//
// An empty location stays empty through every helper here: it stands for a folder the platform
// could not give, and a path built on it would be taken relative to the current directory.
// Callers skip an empty result.

// The folder with exactly the one "\" it needs at its end.
std::string WithTrailingSeparator(std::string_view folder);
// The path without any "\" at its end ("C:\" gives "C:").
std::string WithoutTrailingSeparator(std::string_view path);
// `name` inside `folder`; empty when the folder is.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace kestrum
