// The platform contract suites on the Win32 classes, against the real registry of a sandbox prefix.
#include <windows.h>

#include <string>

#include "contract/Contracts.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::contract {

using win32::Utf8ToWide;

// Every test gets a key of its own under this one, removed with everything below it.
const std::string kScratch = "Software\\Kestrum contract " + std::to_string(GetCurrentProcessId());

class Win32Subject final : public Subject {
public:
    Win32Subject() { MakeKey(Root()); }
    ~Win32Subject() override { RegDeleteTreeW(HKEY_CURRENT_USER, Utf8ToWide(kScratch).c_str()); }
    IRegistry& Registry() override { return registry_; }
    std::string Root() override { return kScratch + "\\registry"; }
    void MakeKey(const std::string& path) override {
        win32::RegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(path).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, key.receive(), nullptr), ERROR_SUCCESS);
    }
    // Wine counts a NUL that directly follows the data into a text value, so something else
    // follows the characters.
    void PutForeign(const std::string& path, const std::string& name, std::uint32_t type,
                    const std::string& data) override {
        MakeKey(path);
        const std::wstring wide = Utf8ToWide(data) + L'!';
        const bool text = type == REG_SZ;
        RegSetKeyValueW(HKEY_CURRENT_USER, Utf8ToWide(path).c_str(), Utf8ToWide(name).c_str(), type,
                        text ? static_cast<const void*>(wide.data()) : data.data(),
                        static_cast<DWORD>(text ? (wide.size() - 1) * sizeof(wchar_t) : data.size()));
    }
    ISettingsStore& Store() override { return store_; }
    // The store keeps HKEY_CURRENT_USER\Software\<application>.
    std::string Application() override { return kScratch.substr(std::string("Software\\").size()); }
    bool StoredAsText(const std::string& section, const std::string& name) override {
        DWORD type = 0;
        return RegGetValueW(HKEY_CURRENT_USER, Utf8ToWide(kScratch + "\\" + section).c_str(),
                            Utf8ToWide(name).c_str(), RRF_RT_ANY, &type, nullptr, nullptr) == ERROR_SUCCESS &&
               type == REG_SZ;
    }
    void PutForeignSetting(const std::string& section, const std::string& name, std::uint32_t type,
                           const std::string& data) override {
        PutForeign(kScratch + "\\" + section, name, type, data);
    }

private:
    win32::Win32Registry registry_;
    win32::Win32SettingsStore store_;
};

std::unique_ptr<Subject> MakeSubject() { return std::make_unique<Win32Subject>(); }

}  // namespace kestrum::contract
