#pragma once

#include <cstdint>
#include <string>

namespace kestrum {

class KestrumModule;

inline constexpr char kStoppedMessage[] = "The Kestrum process was successfully stopped";
inline constexpr char kRunTitle[] = " Kestrum";

// One cleaning run: interactive when the progress window is loaded, silent otherwise.
void RunCleaning(KestrumModule& module);

// Lets waiting input be handled, then answers whether the user asked the run to stop. Without
// the progress window a run cannot be stopped.
bool RunCancelled(KestrumModule& module);

// Processes pending window events, but only when keyboard or mouse input is waiting.
void YieldToWindows(KestrumModule& module);

// Waits that many seconds on the monotonic clock while window events go on being processed.
void Pause(KestrumModule& module, std::int16_t seconds);

// Puts a step's caption on the progress window and leaves it there a second; nothing in a silent
// run.
void ShowStep(KestrumModule& module, const std::string& caption);

// Works out the run's folders from the platform and the user's name.
void ComputeLocations(KestrumModule& module);

// The run as a window starts it, after it has rebuilt the option strings and hidden itself:
// show the progress window, run, close the progress window. The caller then checks
// CancelRequested.
void RunWithProgressWindow(KestrumModule& module);

}  // namespace kestrum
