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

class Win32RegistryKey final : public IRegistryKey {
  public:
    explicit Win32RegistryKey(RegKey key) : key_(std::move(key)) {}

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
        return !name.empty() &&
               RegDeleteKeyW(key_.get(), Utf8ToWide(name).c_str()) == ERROR_SUCCESS;
    }

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
};

}  // namespace

std::unique_ptr<IRegistryKey> Win32Registry::Open(RegistryHive hive, const std::string& path,
                                                  RegistryAccess access) {
    HKEY root = RootOf(hive);
    if (root == nullptr) {
        return nullptr;
    }
    const REGSAM rights = access == RegistryAccess::Full ? KEY_ALL_ACCESS : KEY_READ;
    RegKey key;
    if (RegOpenKeyExW(root, Utf8ToWide(path).c_str(), 0, rights, key.receive()) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

}  // namespace kestrum::win32
