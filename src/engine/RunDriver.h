#pragma once

#include <cstdint>
#include <string>

namespace kestrum {

struct RunContext;
class IControl;
class IWindow;

inline constexpr char kStoppedMessage[] = "The Kestrum process was successfully stopped";
inline constexpr char kRunTitle[] = " Kestrum";

// One cleaning run: interactive when the progress window is loaded, silent otherwise.
void RunCleaning(RunContext& ctx);

// Lets waiting input be handled, looking for it at most every few milliseconds, then answers
// whether the user asked the run to stop. Without the progress window a run cannot be stopped.
bool RunCancelled(RunContext& ctx);

// Processes pending window events, but only when keyboard or mouse input is waiting.
void YieldToWindows(RunContext& ctx);

// Waits that many seconds on the monotonic clock while window events go on being processed.
void Pause(RunContext& ctx, std::int16_t seconds);

// Puts a step's caption on the progress window and leaves it there a second; nothing in a silent
// run.
void ShowStep(RunContext& ctx, const std::string& caption);

// Works out the run's folders from the platform and the user's name.
void ComputeLocations(RunContext& ctx);

// The run as a window starts it, after it has rebuilt the option strings and hidden itself:
// show the progress window, run, close the progress window. The caller then checks
// CancelRequested.
void RunWithProgressWindow(RunContext& ctx);

// The run a window starts from its button, once it has rebuilt the option strings: the window
// hides behind the progress window, comes back when still loaded, with the focus on `focus` if
// one is given, and a run that was not cancelled is then reported.
void RunFromWindow(RunContext& ctx, IWindow& window, IControl* focus);

}  // namespace kestrum
