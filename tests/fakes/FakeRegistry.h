#pragma once

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/Registry.h"

namespace kestrum::fakes {

struct FakeRegistryValue {
    std::string name;
    std::uint32_t type = regtype::kText;
    std::string text;  // every stored character of a text value, its terminating NUL included
    std::int32_t number = 0;
    bool unreadable = false;  // listed with its type, but reading its data fails
};

struct FakeRegistryKey {
    std::string name;
    std::vector<FakeRegistryValue> values;
    std::vector<FakeRegistryKey> subkeys;
    bool readOnly = false;  // opens for reading only, as where the user may not write
    std::optional<std::pair<RegistryHive, std::string>> link;

    FakeRegistryValue* FindValue(const std::string& valueName);
    void Put(const FakeRegistryValue& value);  // replaces a value of the same name
};

// An in-memory registry of three hives. Names compare without regard to ASCII case, values and
// subkeys list in the order made, and a key with subkeys refuses deletion as on the NT family.
class FakeRegistry final : public IRegistry {
  public:
    // Makes the key at path a link to the target, as a key made with REG_OPTION_CREATE_LINK.
    void Link(RegistryHive hive, const std::string& path, RegistryHive targetHive,
              const std::string& target) {
        Key(hive, path).link = {targetHive, target};
    }
    // Deletes the key at a path, through links, unless it has subkeys.
    bool Remove(RegistryHive hive, const std::string& path);
    // The key at a path, made with every missing level.
    FakeRegistryKey& Key(RegistryHive hive, const std::string& path) {
        return *Walk(hive, path, true);
    }
    FakeRegistryKey* Find(RegistryHive hive, const std::string& path) {
        return Walk(hive, path, false);
    }
    bool HasKey(RegistryHive hive, const std::string& path) { return Find(hive, path) != nullptr; }

    // Stores a text value the way the system does, with a terminating NUL.
    void SetText(RegistryHive hive, const std::string& path, const std::string& name,
                 const std::string& text, std::uint32_t type = regtype::kText) {
        Key(hive, path).Put({name, type, text + '\0'});
    }
    // The stored characters of a text value, nothing when there is no such value.
    std::optional<std::string> Text(RegistryHive hive, const std::string& path,
                                    const std::string& name) {
        FakeRegistryValue* value = HasKey(hive, path) ? Find(hive, path)->FindValue(name) : nullptr;
        return value ? std::optional(value->text) : std::nullopt;
    }
    std::vector<std::string> ValueNames(RegistryHive hive, const std::string& path) {
        std::vector<std::string> names;
        for (std::size_t i = 0; HasKey(hive, path) && i < Find(hive, path)->values.size(); ++i) {
            names.push_back(Find(hive, path)->values[i].name);
        }
        return names;
    }

    std::unique_ptr<IRegistryKey> Open(RegistryHive hive, const std::string& path,
                                       RegistryAccess access, KeyLinks links) override;
    std::function<void(RegistryHive, const std::string&)> onOpen = [](auto, const auto&) {
    };                                // before each Open
    int openKeys = 0;                 // keys opened and not yet closed
    std::vector<std::string> opened;  // every Open: "hive|path|read" or "|full", hive in hex

    // The key at a path, through the links on the way unless they are not followed; then a link
    // at the end is the key itself and a link before it finds nothing.
    FakeRegistryKey* Walk(RegistryHive hive, const std::string& path, bool make,
                          KeyLinks links = KeyLinks::Follow, int depth = 0);

  private:
    std::map<RegistryHive, FakeRegistryKey> hives_;
};

}  // namespace kestrum::fakes
