#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrum {

// The platform's version record; the caller sets recordSize before the query, as the system
// requires.
struct VersionRecord {
    std::uint32_t recordSize = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;
};

// Size of the ANSI version record, the form the start-up code asks for.
inline constexpr std::uint32_t kAnsiVersionRecordSize = 148;
inline constexpr std::uint32_t kPlatformWin32Windows = 1;
inline constexpr std::uint32_t kPlatformWin32Nt = 2;

// Windows version and identity.
//
// The text queries take the size of the caller's buffer in characters, terminating NUL
// included, and answer nothing when the text does not fit or the query fails: the system
// writes nothing into a buffer that is too small.
class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;

    // False when the platform rejects the record size or the query fails.
    virtual bool QueryVersion(VersionRecord& record) = 0;
    virtual std::optional<std::string> UserName(std::size_t bufferChars) = 0;
    virtual std::optional<std::string> WindowsDirectory(std::size_t bufferChars) = 0;
    virtual std::optional<std::string> SystemDirectory(std::size_t bufferChars) = 0;
    // Ends with "\" as the platform returns it.
    virtual std::optional<std::string> TempDirectory(std::size_t bufferChars) = 0;
    virtual std::uint32_t ProcessId() = 0;
    // Registers (type 1) or unregisters (type 0) a service process on Windows 95/98/ME. False
    // where the system has no such function.
    virtual bool RegisterServiceProcess(std::uint32_t processId, std::uint32_t type) = 0;
};

}  // namespace kestrum
