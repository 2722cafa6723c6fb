// The platform contract suites on the Win32 classes, against the real registry of a sandbox prefix.
#include <windows.h>

#include <string>

#include "contract/RegistryContract.h"
#include "contract/SettingsStoreContract.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::contract {
namespace {

// Every test gets a key of its own under this one, removed with everything below it.
const std::string kScratch = "Software\\Kestrum contract " + std::to_string(GetCurrentProcessId());

win32::RegKey CreateKey(const std::string& path) {
    win32::RegKey key;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, win32::Utf8ToWide(path).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, key.receive(), nullptr),
              ERROR_SUCCESS)
        << path;
    return key;
}

void PutRaw(const std::string& path, const std::string& name, DWORD type, const void* data, DWORD bytes) {
    const win32::RegKey key = CreateKey(path);
    EXPECT_EQ(RegSetValueExW(key.get(), win32::Utf8ToWide(name).c_str(), 0, type,
                             static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
}

// Exactly these characters: Wine counts a NUL that directly follows the data into a text value,
// so something else follows them.
void PutChars(const std::string& path, const std::string& name, const std::string& characters) {
    const std::wstring wide = win32::Utf8ToWide(characters) + L'!';
    PutRaw(path, name, REG_SZ, wide.data(), static_cast<DWORD>((wide.size() - 1) * sizeof(wchar_t)));
}

class Win32RegistrySubject final : public RegistrySubject {
public:
    Win32RegistrySubject() { CreateKey(Root()); }
    ~Win32RegistrySubject() override { RegDeleteTreeW(HKEY_CURRENT_USER, win32::Utf8ToWide(kScratch).c_str()); }
    Win32RegistrySubject(const Win32RegistrySubject&) = delete;
    Win32RegistrySubject& operator=(const Win32RegistrySubject&) = delete;

    IRegistry& Registry() override { return registry_; }
    std::string Root() override { return kScratch + "\\registry"; }
    void MakeKey(const std::string& path) override { CreateKey(path); }
    bool HasKey(const std::string& path) override {
        win32::RegKey key;
        return RegOpenKeyExW(HKEY_CURRENT_USER, win32::Utf8ToWide(path).c_str(), 0, KEY_READ,
                             key.receive()) == ERROR_SUCCESS;
    }
    void PutBinary(const std::string& path, const std::string& name) override {
        const BYTE blob[] = {1, 2, 3};
        PutRaw(path, name, REG_BINARY, blob, sizeof(blob));
    }
    void PutUnterminatedText(const std::string& path, const std::string& name,
                             const std::string& text) override {
        PutChars(path, name, text);
    }
    // Wine grants the prefix's user every right on every key.
    bool MakeReadOnly(const std::string&) override { return false; }

private:
    win32::Win32Registry registry_;
};

class Win32SettingsSubject final : public SettingsStoreSubject {
public:
    ~Win32SettingsSubject() override { RegDeleteTreeW(HKEY_CURRENT_USER, win32::Utf8ToWide(kScratch).c_str()); }

    ISettingsStore& Store() override { return store_; }
    // The store keeps HKEY_CURRENT_USER\Software\<application>.
    std::string Application() override { return kScratch.substr(std::string("Software\\").size()); }
    bool StoredAsText(const std::string& section, const std::string& name) override {
        DWORD type = 0;
        return RegGetValueW(HKEY_CURRENT_USER, win32::Utf8ToWide(kScratch + "\\" + section).c_str(),
                            win32::Utf8ToWide(name).c_str(), RRF_RT_ANY, &type, nullptr,
                            nullptr) == ERROR_SUCCESS &&
               type == REG_SZ;
    }
    void PutNumber(const std::string& section, const std::string& name) override {
        const DWORD number = 1;
        PutRaw(kScratch + "\\" + section, name, REG_DWORD, &number, sizeof(number));
    }
    void PutStoredText(const std::string& section, const std::string& name,
                       const std::string& characters) override {
        PutChars(kScratch + "\\" + section, name, characters);
    }

private:
    win32::Win32SettingsStore store_;
};

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistrySubjectFactory{"Win32Registry", [] {
                             return std::unique_ptr<RegistrySubject>(new Win32RegistrySubject);
                         }}));
INSTANTIATE_TEST_SUITE_P(Win32, SettingsStoreContract,
                         ::testing::Values(SettingsStoreSubjectFactory{"Win32SettingsStore", [] {
                             return std::unique_ptr<SettingsStoreSubject>(new Win32SettingsSubject);
                         }}));

}  // namespace
}  // namespace kestrum::contract
