#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace kestrum::fakes {

struct FakeRegistryValue {
    std::string name;
    std::uint32_t type = regtype::kText;
    // Every stored character of a text value, its terminating NUL included.
    std::string text;
    std::int32_t number = 0;
    // The value is listed and its type known, but reading its data fails.
    bool unreadable = false;
};

struct FakeRegistryKey {
    std::string name;
    std::vector<FakeRegistryValue> values;
    std::vector<std::unique_ptr<FakeRegistryKey>> subkeys;
    // Opens for reading only, like a key the user has no write rights to.
    bool readOnly = false;

    FakeRegistryValue* FindValue(const std::string& valueName);
    FakeRegistryKey* FindSubkey(const std::string& subkeyName);
};

// An in-memory registry with three hives. Names compare without regard to ASCII case; values
// and subkeys list in the order they were made. Keys refuse deletion while they have subkeys,
// as on the NT family.
class FakeRegistry final : public IRegistry {
public:
    // The key at a path, made with every missing level.
    FakeRegistryKey& Key(RegistryHive hive, const std::string& path);
    FakeRegistryKey* Find(RegistryHive hive, const std::string& path);
    bool HasKey(RegistryHive hive, const std::string& path) { return Find(hive, path) != nullptr; }

    // Stores a text value the way the system does, with a terminating NUL.
    void SetText(RegistryHive hive, const std::string& path, const std::string& name,
                 const std::string& text, std::uint32_t type = regtype::kText);
    void SetNumber(RegistryHive hive, const std::string& path, const std::string& name,
                   std::int32_t number);
    void SetBinary(RegistryHive hive, const std::string& path, const std::string& name);
    // The stored characters of a value, nothing when there is no such value.
    std::optional<std::string> Text(RegistryHive hive, const std::string& path,
                                    const std::string& name);
    std::vector<std::string> ValueNames(RegistryHive hive, const std::string& path);
    std::vector<std::string> SubkeyNames(RegistryHive hive, const std::string& path);

    std::unique_ptr<IRegistryKey> Open(RegistryHive hive, const std::string& path,
                                       RegistryAccess access) override;

    // Called before every Open, so a test can act at a chosen point.
    std::function<void(RegistryHive, const std::string&)> onOpen;
    // Keys opened and not yet closed.
    int openKeys = 0;
    // Every Open, as "hive|path|read" or "hive|path|full", hive as its number in hex.
    std::vector<std::string> opened;

private:
    // Sets a value in a key made with every missing level, replacing one of the same name.
    void Store(RegistryHive hive, const std::string& path, const FakeRegistryValue& value);

    std::map<RegistryHive, FakeRegistryKey> hives_;
};

}  // namespace kestrum::fakes
