#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrum {

struct RunContext;

inline constexpr char kCompletedMessage[] = "The Kestrum process was successfully completed";
inline constexpr char kRebootTitle[] = " Reboot";
inline constexpr char kRebootQuestion[] =
    "   For a more complete cleaning,\r\nyou should reboot your computer.\r\n\r\n"
    "     Do you wish to reboot now?";
inline constexpr char kStartupValueName[] = "Kestrum";
// Reboot, forced.
inline constexpr std::int32_t kRebootFlags = 6;

// The errors the shutdown routines raise and absorb.
namespace shutdown_error {
inline constexpr std::uint32_t kFailed = 0x8004062B;
inline constexpr std::uint32_t kNoPrivilegeValue = 0x8004062C;
inline constexpr std::uint32_t kNoProcess = 0x8004062D;
inline constexpr std::uint32_t kNotPermitted = 0x8004062E;
inline constexpr std::uint32_t kInvalidFlags = 0x8004062F;
}  // namespace shutdown_error

// The key of the start-up entry: run on the NT family, runservices on Windows 95/98/ME.
std::string StartupKeyPath(const RunContext& ctx);

// The end of an interactive run that was not cancelled: the success message, or, when a file
// survived, the reboot offer that arranges one more silent run and reboots.
void CompleteRun(RunContext& ctx);

// An error raised and absorbed inside a routine, handed back to a caller that looks for it.
struct ErrorRecord {
    std::uint32_t number = 0;
    std::string source;
    std::string text;
};

// What a shutdown routine did; a refusal carries the error it absorbed.
struct ShutdownOutcome {
    bool ok = false;
    std::optional<ErrorRecord> error;
};

// Asks the platform to end the session with exit-Windows flags 0 to 31.
ShutdownOutcome ShutdownSystem(RunContext& ctx, std::int32_t flags);
ShutdownOutcome EnableShutdownPrivilege(RunContext& ctx);
// The system's message text for an error code, as the system gives it (usually ending in CR LF).
std::string SystemErrorText(RunContext& ctx, std::uint32_t code);

}  // namespace kestrum
