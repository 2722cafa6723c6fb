// The registry helpers and the shutdown privilege on the real Win32 services of a sandbox prefix.
// The power service is never asked to end the session here.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "engine/Completion.h"
#include "fakes/FakePlatform.h"
#include "platform/win32/Win32Services.h"
#include "registry/RegistryModule.h"
#include "startup/KestrumModule.h"

namespace kestrum {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
const std::string kRoot = "Software\\Kestrum registry tests";

class RealRegistry : public ::testing::Test {
protected:
    win32::Win32Registry platform;
    RegistryModule registry{platform};
    std::string key = kRoot + "\\" + std::to_string(GetCurrentProcessId());

    void SetUp() override {
        HKEY made = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &made, nullptr),
                  ERROR_SUCCESS);
        const BYTE blob[] = {1, 2, 3};
        RegSetValueExA(made, "blob", 0, REG_BINARY, blob, sizeof(blob));
        HKEY child = nullptr;
        RegCreateKeyExA(made, "  spaced  ", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr);
        RegCloseKey(child);
        RegCloseKey(made);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot.c_str()); }
};

TEST_F(RealRegistry, ReadsAndWritesAsStated) {
    EXPECT_EQ(registry.SetRegistryValue(kUser, key, "name", 1, std::string("abc")), "Success!");
    EXPECT_EQ(registry.GetRegistryValue(kUser, key, "NAME"), RegistryRead(std::string("abc\0", 4)));
    EXPECT_EQ(registry.SetRegistryValue(kUser, key, "empty", 1, std::string()), "Success!");
    EXPECT_EQ(registry.GetRegistryValue(kUser, key, "empty"), RegistryRead(std::string(1, '\0')));
    HKEY open = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &open), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(open, "empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(open);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 1u) << "a single NUL byte in the system's code page";

    EXPECT_EQ(registry.SetRegistryValue(kUser, key, "count", 4, std::int64_t{-3}), "Success!");
    EXPECT_EQ(registry.GetRegistryValue(kUser, key, "count"), RegistryRead(std::int32_t{-3}));
    EXPECT_EQ(registry.SetRegistryValue(kUser, key, "text", 1, std::string("Grüße")), "Success!");
    EXPECT_EQ(registry.GetRegistryValue(kUser, key, "text"), RegistryRead(std::string("Grüße\0", 8)));
    EXPECT_EQ(registry.GetRegistryValue(kUser, key, "blob"), RegistryRead());
    EXPECT_TRUE(IsRegistryError(registry.GetRegistryValue(kUser, key, "missing")));

    EXPECT_EQ(registry.SetRegistryValue(kUser, key + "\\absent", "v", 1, std::string("x")), "Error!");
    HKEY absent = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, (key + "\\absent").c_str(), 0, KEY_READ, &absent),
              ERROR_SUCCESS)
        << "a write never creates a key";
}

TEST_F(RealRegistry, ListsTrimmedAndDeletes) {
    EXPECT_EQ(registry.EnumRegistryKeys(kUser, key), std::vector<std::string>{"spaced"});
    EXPECT_EQ(registry.EnumRegistryKeys(kUser, key + "\\  spaced  "), std::vector<std::string>{"Error!"});
    EXPECT_EQ(registry.EnumRegistryValues(kUser, key + "\\  spaced  "), std::vector<std::string>{"Error!"});
    EXPECT_EQ(registry.EnumRegistryValues(kUser, key), std::vector<std::string>{"blob"});
    EXPECT_EQ(registry.EnumRegistryKeys(kUser, key + "\\absent"), std::vector<std::string>{"Error!"});
    EXPECT_GE(registry.EnumRegistryKeys(RegistryHive::Users, "").size(), 2u) << "the hive itself";

    EXPECT_EQ(registry.DeleteRegistryValue(kUser, key, "blob"), "Success!");
    EXPECT_EQ(registry.DeleteRegistryValue(kUser, key, "blob"), "Error!");
    EXPECT_EQ(registry.DeleteRegistryKey(kUser, key, "  spaced  "), "Success!");
    EXPECT_EQ(registry.DeleteRegistryKey(kUser, key, "  spaced  "), "Error!");
    EXPECT_EQ(registry.DeleteRegistryKey(kUser, kRoot, ""), "Error!") << "never the open key itself";
}

TEST(RealPower, EnablesTheShutdownPrivilegeAndExplainsErrors) {
    fakes::FakePlatform fake;
    win32::Win32Power power;
    Platform services = fake.services();
    Platform real{services.application, services.system, services.settings, services.files,
                  services.clock,       services.ui,     services.shell,    services.registry,
                  power};
    KestrumModule module(real);
    const ShutdownOutcome enabled = EnableShutdownPrivilege(module.Context);
    EXPECT_TRUE(enabled.ok);
    EXPECT_FALSE(enabled.error);

    const std::string denied = SystemErrorText(module.Context, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(denied.empty());
    EXPECT_EQ(SystemErrorText(module.Context, 0x2FFFFFFF), "") << "no text for an unknown code";
}

}  // namespace
}  // namespace kestrum
