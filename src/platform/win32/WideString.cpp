#include "platform/win32/WideString.h"

#include <windows.h>

namespace kestrum::win32 {

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int chars = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(chars > 0 ? chars : 0), L'\0');
    if (chars > 0) {
        MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), chars);
    }
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    // No "best fit": it would turn a name the code page lacks into another, existing name
    // ("\u0142odz" into "lodz"), and the list would then delete the wrong file.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(), bytes, nullptr,
                            nullptr);
    }
    return narrow;
}

// Paths from this length on get the extended form; below it every API takes them as they are.
constexpr std::size_t kExtendedFromLength = MAX_PATH - 12;

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
    return ToWide(CP_UTF8, text);
}
std::string WideToUtf8(std::wstring_view text) {
    return FromWide(CP_UTF8, text);
}
std::string AnsiToUtf8(std::string_view bytes) {
    return WideToUtf8(ToWide(CP_ACP, bytes));
}
std::string Utf8ToAnsi(std::string_view text) {
    return FromWide(CP_ACP, Utf8ToWide(text));
}

std::optional<std::wstring> ToWin32Path(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    std::wstring wide = Utf8ToWide(path);
    if (wide.size() < kExtendedFromLength || wide.rfind(L"\\\\?\\", 0) == 0) {
        return wide;
    }
    // The extended form turns off the system's own clean-up of "." and "..", so do it first.
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return wide;
    }
    std::wstring full(needed, L'\0');
    const DWORD got = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed) {
        return wide;
    }
    full.resize(got);
    if (full.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') {
        return L"\\\\?\\" + full;
    }
    return full;
}

}  // namespace kestrum::win32
