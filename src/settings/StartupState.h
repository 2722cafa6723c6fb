#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/SystemInfo.h"

namespace kestrum {

// The command lines of the two starts that show no options window: the "Clean Now" shortcuts'
// confirmation, and the silent clean at log-on.
inline constexpr char kRunArgument[] = "/run";
inline constexpr char kStartupArgument[] = "/startup";

// The facts start-up establishes once for the whole process.
struct StartupState {
    bool IsWindowsNT = false;
    // The NT build number; 0 when not NT.
    std::int32_t WindowsBuild = 0;
    std::string StartupCommand;
    std::string ListFilePath;
    std::string CommandLine;
};

// The option flag strings and the user's selected-files list.
struct OptionState {
    std::string GeneralOptions;
    std::string DeleteOptions;
    // Indexed from 1; index 0 never holds an entry.
    std::vector<std::string> SelectedFiles{std::string()};
    std::int16_t SelectedFileCount = 0;
};

// The logged-on user's name, or "" when the platform cannot give it.
std::string CurrentUserName(ISystemInfo& system);

}  // namespace kestrum
