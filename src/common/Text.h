#pragma once

#include <string>
#include <string_view>

namespace kestrum {

// Lower-cases the ASCII letters only, the way paths are compared throughout the program.
std::string ToLowerAscii(std::string_view text);

bool EndsWith(std::string_view text, std::string_view suffix);

// The number of characters in a UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace kestrum
