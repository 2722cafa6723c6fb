#pragma once

#include <cstdint>
#include <string>

namespace kestrum {

// Recycle Bin flags: no confirmation, no progress window, no sound.
inline constexpr std::uint32_t kRecycleNoConfirmation = 0x1;
inline constexpr std::uint32_t kRecycleNoProgressUi = 0x2;
inline constexpr std::uint32_t kRecycleNoSound = 0x4;

// The shell and process start.
class IShell {
public:
    virtual ~IShell() = default;
    // Empties the Recycle Bins of all drives, with no owner window.
    virtual bool EmptyRecycleBin(std::uint32_t flags) = 0;
    // Starts `program` (a full path, so that no search can pick another program of that name)
    // with `commandLine` as its command line, its window hidden, and returns without waiting.
    virtual bool StartHidden(const std::string& program, const std::string& commandLine) = 0;
};

}  // namespace kestrum
