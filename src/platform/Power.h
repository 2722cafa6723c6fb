#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kestrum {

// An open access token of a process; destroying it closes the handle.
class IAccessToken {
public:
    virtual ~IAccessToken() = default;
    // Enables one privilege, leaving the others as they are. False when the system refuses.
    virtual bool EnablePrivilege(std::uint64_t privilege) = 0;
};

// Ending the Windows session, and the system's error texts that explain a refusal. Every
// operation that fails leaves its reason in LastError() until the next operation.
class IPower {
public:
    virtual ~IPower() = default;

    // The locally unique identifier of a named privilege on the local system.
    virtual std::optional<std::uint64_t> LookupPrivilege(const std::string& name) = 0;
    // The handle of the running process; 0 on failure.
    virtual std::uintptr_t CurrentProcess() = 0;
    virtual std::unique_ptr<IAccessToken> OpenProcessToken(std::uintptr_t process,
                                                           std::uint32_t access) = 0;
    // Asks the system to end the session with the exit-Windows flags; true when it accepts.
    virtual bool EndSession(std::uint32_t flags, std::uint32_t reserved) = 0;
    virtual std::uint32_t LastError() = 0;
    // The system's own message text for an error code, inserts ignored, default language, into a
    // buffer of bufferChars characters; empty when the system has none.
    virtual std::string SystemMessage(std::uint32_t code, std::size_t bufferChars) = 0;
};

}  // namespace kestrum
