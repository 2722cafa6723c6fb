#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrum {

// The step of enabling the shutdown privilege that the system refused.
enum class PrivilegeStep {
    // The privilege's identifier on the local system.
    Lookup,
    // The running process.
    Process,
    // Opening the process's token to adjust and query its privileges.
    OpenToken,
    // Enabling the privilege on the token, the others left as they are.
    Enable,
};

struct PrivilegeRefusal {
    PrivilegeStep step;
    // The system's error code at the moment of the refusal.
    std::uint32_t errorCode = 0;
};

// Ending the Windows session, and the system's error texts that explain a refusal.
class IPower {
  public:
    virtual ~IPower() = default;

    // Enables the shutdown privilege on the process's token; nothing when it is enabled.
    virtual std::optional<PrivilegeRefusal> EnableShutdownPrivilege() = 0;
    // Asks the system to end the session with the exit-Windows flags; nothing when it accepts,
    // else the system's error code.
    virtual std::optional<std::uint32_t> EndSession(std::uint32_t flags) = 0;
    // The system's own message text for an error code (usually ending in CR LF), as long as it
    // fits 254 characters; empty when the system has none.
    virtual std::string SystemMessage(std::uint32_t code) = 0;
};

}  // namespace kestrum
