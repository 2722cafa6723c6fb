#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::win32 {

namespace {
std::wstring SectionKey(const std::string& application, const std::string& section) {
    return Utf8ToWide("Software\\" + application + "\\" + section);
}
}  // namespace

std::optional<std::string> Win32SettingsStore::Read(const std::string& application,
                                                    const std::string& section,
                                                    const std::string& name) {
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionKey(application, section).c_str(), 0,
                      KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring valueName = Utf8ToWide(name);
    // The value can change between the size query and the read; try again with the new size.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes) !=
                ERROR_SUCCESS ||
            type != REG_SZ) {
            return std::nullopt;
        }
        std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD got = bytes;
        const LSTATUS status = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(data.data()), &got);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS || type != REG_SZ) {
            return std::nullopt;
        }
        // Stored text need not end with a NUL, and may hold one early: the text is what precedes
        // it.
        std::wstring text(data.data(), got / sizeof(wchar_t));
        const std::size_t nul = text.find(L'\0');
        if (nul != std::wstring::npos) {
            text.resize(nul);
        }
        return WideToUtf8(text);
    }
    return std::nullopt;
}

bool Win32SettingsStore::Write(const std::string& application, const std::string& section,
                               const std::string& name, const std::string& value) {
    RegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SectionKey(application, section).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring data = Utf8ToWide(value);
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), Utf8ToWide(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace kestrum::win32
