#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kestrum {

// The predefined root keys, as the platform's handle values.
enum class RegistryHive : std::uint32_t {
    CurrentUser = 0x80000001,
    LocalMachine = 0x80000002,
    Users = 0x80000003,
};

// Full access fails where the user may only read, typically under HKEY_LOCAL_MACHINE for a
// restricted user.
enum class RegistryAccess { Read, Full };

namespace regtype {
inline constexpr std::uint32_t kText = 1;
inline constexpr std::uint32_t kExpandText = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kNumber = 4;
}  // namespace regtype

// Whether an open goes through registry links (keys made as symbolic links to other keys).
// NotFollowed is for keys whose content is not the program's own: a link anywhere on the path but
// at its end makes the open fail, and a link at the end opens the link itself, which IsLink()
// answers and which lists and clears nothing of what it leads to.
enum class KeyLinks { Follow, NotFollowed };

struct RegistryValueInfo {
    std::uint32_t type = 0;
    std::uint32_t sizeBytes = 0;
};

// One open key; destroying it closes the key. Names are compared without regard to case, as the
// registry does. An empty value name is the key's default value.
class IRegistryKey {
  public:
    virtual ~IRegistryKey() = default;

    // The type and size of a value without reading its data; nothing when there is no such value.
    virtual std::optional<RegistryValueInfo> QueryValueInfo(const std::string& name) = 0;
    // Every character a text value (type 1 or 2) stores, its terminating NUL included when the
    // value was stored with one; nothing when the read fails.
    virtual std::optional<std::string> ReadText(const std::string& name) = 0;
    // A 4-byte number value; nothing when the read fails.
    virtual std::optional<std::int32_t> ReadNumber(const std::string& name) = 0;
    // Stores the text followed by one terminating NUL, as type 1 or 2.
    virtual bool WriteText(const std::string& name, std::uint32_t type,
                           const std::string& text) = 0;
    virtual bool WriteNumber(const std::string& name, std::int32_t value) = 0;
    virtual bool DeleteValue(const std::string& name) = 0;
    // Whether a subkey that has subkeys of its own can go is the platform's rule. On a key opened
    // with KeyLinks::NotFollowed a subkey that is a link goes as the link alone.
    virtual bool DeleteSubkey(const std::string& name) = 0;
    // True for a link opened as itself (KeyLinks::NotFollowed).
    virtual bool IsLink() const = 0;
    // The subkey or value name at an index; nothing past the end, on any failure, or when the
    // name does not fit a buffer of bufferChars characters (terminating NUL included).
    virtual std::optional<std::string> SubkeyName(std::uint32_t index, std::size_t bufferChars) = 0;
    virtual std::optional<std::string> ValueName(std::uint32_t index, std::size_t bufferChars) = 0;
};

class IRegistry {
  public:
    virtual ~IRegistry() = default;
    // Opens an existing key, never creates one; an empty path opens the hive itself. Nothing when
    // the key is missing or the access is refused.
    virtual std::unique_ptr<IRegistryKey> Open(RegistryHive hive, const std::string& path,
                                               RegistryAccess access, KeyLinks links) = 0;
};

}  // namespace kestrum
