#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrum {

// The Windows family and, on NT, its build.
struct WindowsVersion {
    bool isNt = false;
    std::uint32_t build = 0;
};

// Windows version and identity. A query the system cannot answer gives nothing.
class ISystemInfo {
  public:
    virtual ~ISystemInfo() = default;

    // Asked the way Windows 95/98/ME understand too, so every family answers.
    virtual std::optional<WindowsVersion> Version() = 0;
    // The logged-on user's name; nothing when it is 80 characters or longer.
    virtual std::optional<std::string> UserName() = 0;
    virtual std::optional<std::string> WindowsDirectory() = 0;
    virtual std::optional<std::string> SystemDirectory() = 0;
    // Ends with "\" as the platform returns it.
    virtual std::optional<std::string> TempDirectory() = 0;
    // Registers the process as a service process on Windows 95/98/ME, which takes it off the task
    // list, or unregisters it. False where the system has no such registration.
    virtual bool RegisterServiceProcess(bool registered) = 0;
};

}  // namespace kestrum
