#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kestrum::wintest {

// A program started by a test; ended by force when the test lets go of it while it still runs.
class Process {
  public:
    // commandLine holds the quoted program path and the arguments.
    explicit Process(const std::wstring& commandLine);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }
    // True when it ended within the time; its exit code goes to *exitCode.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr);

  private:
    PROCESS_INFORMATION info_{};
};

// The visible top-level windows of a process, in z order.
std::vector<HWND> VisibleWindowsOf(DWORD processId);
// Waits for a visible top-level window of the process with exactly that title and, unless it is
// empty, a child of that text; nullptr on time-out.
HWND WaitForWindow(DWORD processId, const std::wstring& title, DWORD milliseconds,
                   const std::wstring& childText = L"");
std::wstring TextOf(HWND hwnd);
// The texts of a window's child controls, in z order.
std::vector<std::wstring> ChildTexts(HWND hwnd);
// The child button with that caption, or nullptr.
HWND FindButton(HWND parent, const std::wstring& caption);
// Presses a button the way a user's click does.
void Press(HWND button);
// The visible windows of the process with their child texts, for failure reports.
std::string DescribeWindowsOf(DWORD processId);

std::wstring InstalledKestrum();
// UTF-8 for failure messages.
std::string Narrow(const std::wstring& text);

}  // namespace kestrum::wintest
