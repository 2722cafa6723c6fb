#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/Registry.h"

namespace kestrum {

inline constexpr char kRegistrySuccess[] = "Success!";
inline constexpr char kRegistryError[] = "Error!";

// What a single-value read gives: nothing (another type, or the data could not be read), a text
// with its stored terminating NUL, or a number. The text "Error!" when the key or value is
// missing.
using RegistryRead = std::variant<std::monostate, std::string, std::int32_t>;
// What a write is given: converted to text for the text types, to a number for type 4.
using RegistryData = std::variant<std::string, std::int64_t>;

bool IsRegistryError(const RegistryRead& result);
bool IsRegistryError(const std::vector<std::string>& list);
// A text read without the terminating NUL the registry stores with it.
std::string WithoutTerminator(const std::string& text);

// Six plain registry operations that open the key they need, do one thing, close the key on
// every path and report by value, never by raising. With KeyLinks::NotFollowed a key reached
// through a link, or that is a link, counts as missing, and a deleted subkey that is a link goes
// as the link alone: for lists that belong to the user, whose keys anyone could have linked
// elsewhere.
class RegistryModule {
  public:
    explicit RegistryModule(IRegistry& registry, KeyLinks links = KeyLinks::Follow)
        : registry_(registry), links_(links) {}

    RegistryRead GetRegistryValue(RegistryHive hive, const std::string& path,
                                  const std::string& name);
    std::string SetRegistryValue(RegistryHive hive, const std::string& path,
                                 const std::string& name, std::uint16_t type,
                                 const RegistryData& value);
    std::string DeleteRegistryValue(RegistryHive hive, const std::string& path,
                                    const std::string& name);
    std::string DeleteRegistryKey(RegistryHive hive, const std::string& parentPath,
                                  const std::string& name);
    // Names trimmed of surrounding blanks, all read before returning; the one-element list
    // "Error!" when the key cannot be opened or holds none.
    std::vector<std::string> EnumRegistryKeys(RegistryHive hive, const std::string& path);
    std::vector<std::string> EnumRegistryValues(RegistryHive hive, const std::string& path);

  private:
    std::unique_ptr<IRegistryKey> Open(RegistryHive hive, const std::string& path,
                                       RegistryAccess access);

    IRegistry& registry_;
    KeyLinks links_;
};

}  // namespace kestrum
