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
    // Writes a shell link file at linkPath (its folder must exist) that starts target with
    // arguments, in the target's folder and with the target's icon. An existing file there is
    // replaced. False when the link cannot be written.
    virtual bool CreateShellLink(const std::string& linkPath, const std::string& target,
                                 const std::string& arguments) = 0;
    // Asks the shell to open a document or an address with the program the user chose for it,
    // shown normally. False when the shell could not.
    virtual bool OpenDocument(const std::string& target) = 0;
    // Starts a program (a full path) with its window shown normally and given the focus, and
    // returns without waiting. False when it could not be started.
    virtual bool StartProgram(const std::string& program) = 0;
};

}  // namespace kestrum
