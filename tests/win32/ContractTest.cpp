// The registry and settings-store contracts on the Win32 classes, in a sandbox prefix's registry.
#include <windows.h>

#include "contract/Contracts.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::contract {

using win32::Utf8ToWide;

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
                                  KEY_ALL_ACCESS, nullptr, key.receive(), nullptr),
                  ERROR_SUCCESS);
    }
    // Wine counts a NUL right after the data into a text value, so something else follows it.
    void PutForeign(const std::string& path, const std::string& name, std::uint32_t type,
                    const std::string& data) override {
        const std::wstring wide = Utf8ToWide(data) + L'!';
        const bool text = type == REG_SZ;
        RegSetKeyValueW(
            HKEY_CURRENT_USER, Utf8ToWide(path).c_str(), Utf8ToWide(name).c_str(), type,
            text ? static_cast<const void*>(wide.data()) : data.data(),
            static_cast<DWORD>(text ? (wide.size() - 1) * sizeof(wchar_t) : data.size()));
    }

  private:
    win32::Win32Registry registry_;
};

std::unique_ptr<Subject> MakeSubject() {
    return std::make_unique<Win32Subject>();
}

using SettingsStoreTest = RegistryContract;

// The store keeps HKEY_CURRENT_USER\Software\<application>\<section> as plain text, which other
// programs read, and reads their values safely.
TEST_F(SettingsStoreTest, TextRoundTripsInItsOwnSectionAndForeignValuesReadSafely) {
    win32::Win32SettingsStore store;
    const std::string app = kScratch.substr(std::string("Software\\").size()),
                      section = kScratch + "\\Settings";
    HoldsSettingsStoreContract(store, app);
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, Utf8ToWide(section).c_str(), L"GeneralOptions",
                           RRF_RT_REG_SZ, nullptr, nullptr, nullptr),
              ERROR_SUCCESS)
        << "stored as plain text";

    subject->PutForeign(section, "DeleteOptions", regtype::kNumber, std::string("\1\0\0\0", 4));
    EXPECT_FALSE(store.Read(app, "Settings", "DeleteOptions").has_value()) << "not text";
    subject->PutForeign(section, "NoNul", regtype::kText, "101");
    EXPECT_EQ(store.Read(app, "Settings", "NoNul"), "101");
    subject->PutForeign(section, "EarlyNul", regtype::kText,
                        std::string("10\0"
                                    "1",
                                    4));
    EXPECT_EQ(store.Read(app, "Settings", "EarlyNul"), "10") << "the text ends at its first NUL";
}

}  // namespace kestrum::contract
