#include "platform/win32/Win32Services.h"

#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"

namespace kestrum::win32 {

namespace {

HKEY RootOf(RegistryHive hive) {
    switch (hive) {
        case RegistryHive::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryHive::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryHive::Users:
            return HKEY_USERS;
    }
    return nullptr;
}

// A key made with REG_OPTION_CREATE_LINK holds its target in this value, seen only when the
// link itself is open.
bool IsLinkKey(HKEY key) {
    DWORD type = 0;
    return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) ==
               ERROR_SUCCESS &&
           type == REG_LINK;
}

// Deletes the key behind the handle, so that what is deleted is what was opened, never what a
// name means by the time a second open looks it up. Systems without the call have no links.
bool DeleteOpenKey(HKEY parent, const std::wstring& name, HKEY key) {
    using Fn = LONG(NTAPI*)(HANDLE);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    FARPROC found = ntdll != nullptr ? GetProcAddress(ntdll, "NtDeleteKey") : nullptr;
    if (found == nullptr) {
        return RegDeleteKeyW(parent, name.c_str()) == ERROR_SUCCESS;
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(found))(key) >= 0;
}

class Win32RegistryKey final : public IRegistryKey {
  public:
    Win32RegistryKey(RegKey key, KeyLinks links, bool isLink)
        : key_(std::move(key)), links_(links), isLink_(isLink) {}

    std::optional<RegistryValueInfo> QueryValueInfo(const std::string& name) override {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key_.get(), Utf8ToWide(name).c_str(), nullptr, &type, nullptr,
                             &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return RegistryValueInfo{type, size};
    }

    std::optional<std::string> ReadText(const std::string& name) override {
        const std::wstring wideName = Utf8ToWide(name);
        DWORD size = 0;
        if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, nullptr, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        // Room for exactly what is stored; an odd byte count rounds up to a whole character.
        std::vector<wchar_t> buffer((size + 1) / sizeof(wchar_t) + 1, L'\0');
        DWORD received = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        DWORD type = 0;
        if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &received) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        return WideToUtf8(std::wstring_view(buffer.data(), received / sizeof(wchar_t)));
    }

    std::optional<std::int32_t> ReadNumber(const std::string& name) override {
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof(value);
        if (RegQueryValueExW(key_.get(), Utf8ToWide(name).c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof(value)) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(value);
    }

    bool WriteText(const std::string& name, std::uint32_t type, const std::string& text) override {
        const std::wstring wide = Utf8ToWide(text);
        const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key_.get(), Utf8ToWide(name).c_str(), 0, type,
                              reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
    }

    bool WriteNumber(const std::string& name, std::int32_t value) override {
        const auto data = static_cast<DWORD>(value);
        return RegSetValueExW(key_.get(), Utf8ToWide(name).c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&data), sizeof(data)) == ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& name) override {
        return RegDeleteValueW(key_.get(), Utf8ToWide(name).c_str()) == ERROR_SUCCESS;
    }

    bool DeleteSubkey(const std::string& name) override {
        // An empty name would delete the open key itself.
        if (name.empty()) {
            return false;
        }
        const std::wstring wide = Utf8ToWide(name);
        if (links_ == KeyLinks::Follow) {
            return RegDeleteKeyW(key_.get(), wide.c_str()) == ERROR_SUCCESS;
        }
        RegKey subkey;
        return RegOpenKeyExW(key_.get(), wide.c_str(), REG_OPTION_OPEN_LINK,
                             DELETE | KEY_QUERY_VALUE, subkey.receive()) == ERROR_SUCCESS &&
               DeleteOpenKey(key_.get(), wide, subkey.get());
    }

    bool IsLink() const override { return isLink_; }

    std::optional<std::string> SubkeyName(std::uint32_t index, std::size_t bufferChars) override {
        std::vector<wchar_t> name(bufferChars, L'\0');
        std::vector<wchar_t> className(bufferChars, L'\0');
        auto nameLength = static_cast<DWORD>(name.size());
        auto classLength = static_cast<DWORD>(className.size());
        FILETIME written{};
        if (RegEnumKeyExW(key_.get(), index, name.data(), &nameLength, nullptr, className.data(),
                          &classLength, &written) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return WideToUtf8(std::wstring_view(name.data(), nameLength));
    }

    std::optional<std::string> ValueName(std::uint32_t index, std::size_t bufferChars) override {
        std::vector<wchar_t> name(bufferChars, L'\0');
        auto nameLength = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key_.get(), index, name.data(), &nameLength, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return WideToUtf8(std::wstring_view(name.data(), nameLength));
    }

  private:
    RegKey key_;
    KeyLinks links_;
    bool isLink_;
};

// Opens the path one key at a time, each as itself: a link on the way fails the open, a link at
// the end is opened as the link. Empty components are passed over.
RegKey OpenWithoutLinks(HKEY root, const std::wstring& path, REGSAM rights, bool& isLink) {
    RegKey current;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        const std::wstring name = path.substr(start, end - start);
        start = end + 1;
        if (name.empty()) {
            continue;
        }
        const bool last = path.find_first_not_of(L'\\', end) == std::wstring::npos;
        RegKey next;
        if (RegOpenKeyExW(current ? current.get() : root, name.c_str(), REG_OPTION_OPEN_LINK,
                          (last ? rights : KEY_READ) | KEY_QUERY_VALUE,
                          next.receive()) != ERROR_SUCCESS) {
            return RegKey();
        }
        isLink = IsLinkKey(next.get());
        if (isLink && !last) {
            return RegKey();
        }
        current = std::move(next);
    }
    return current;
}

}  // namespace

std::unique_ptr<IRegistryKey> Win32Registry::Open(RegistryHive hive, const std::string& path,
                                                  RegistryAccess access, KeyLinks links) {
    HKEY root = RootOf(hive);
    if (root == nullptr) {
        return nullptr;
    }
    const REGSAM rights = access == RegistryAccess::Full ? KEY_ALL_ACCESS : KEY_READ;
    const std::wstring wide = Utf8ToWide(path);
    RegKey key;
    bool isLink = false;
    // The hive itself is no link.
    if (links == KeyLinks::Follow || wide.find_first_not_of(L'\\') == std::wstring::npos) {
        if (RegOpenKeyExW(root, wide.c_str(), 0, rights, key.receive()) != ERROR_SUCCESS) {
            return nullptr;
        }
    } else if (key = OpenWithoutLinks(root, wide, rights, isLink); !key) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(std::move(key), links, isLink);
}

}  // namespace kestrum::win32
