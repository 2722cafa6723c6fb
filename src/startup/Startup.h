#pragma once

#include <string>

#include "settings/StartupState.h"

namespace kestrum {

class KestrumModule;

inline constexpr char kAlreadyRunningMessage[] = "The Kestrum program is already running";

enum class StartupOutcome {
    // The process has nothing more to do and ends.
    Ended,
    // A window was shown; the process lives until it is closed.
    WindowShown,
};

// True for the NT family; sets WindowsBuild to its build number, or 0.
bool DetectWindowsNT(KestrumModule& module);

// The command line the start-up entry holds, in lower case and without quotation marks.
std::string BuildStartupCommand(const std::string& programFolder, const std::string& exeName);

void HideFromTaskList(KestrumModule& module, bool hide);

// Steps 1 to 6 of start-up: everything before the command line is looked at.
void InitializeStartupState(KestrumModule& module);

// The program's entry: sets up the process-wide state and obeys the command line.
StartupOutcome Main(KestrumModule& module);

}  // namespace kestrum
