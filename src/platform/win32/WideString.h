#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrum::win32 {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// Bytes in the system ANSI code page to UTF-8 and back; characters the code page lacks become
// its default character.
std::string AnsiToUtf8(std::string_view bytes);
std::string Utf8ToAnsi(std::string_view text);

// The wide form of a path for the W file functions. Long absolute paths get the "\\?\" form so
// that a deep tree stays reachable. Nothing for a path holding a NUL character, which the
// system would silently cut short to name another file.
std::optional<std::wstring> ToWin32Path(const std::string& path);

}  // namespace kestrum::win32
