#pragma once

#include <string>

namespace kestrum {

// The program's version, as its version resource gives it.
struct ProgramVersion {
    int major = 0;
    int minor = 0;
};

// The running program as the system sees it.
class IApplication {
  public:
    virtual ~IApplication() = default;

    // The program's title, used for the settings store and the single-instance message.
    virtual std::string Title() const = 0;
    // Folder of the running executable, without a trailing "\" except for a drive root ("D:\").
    virtual std::string ExecutableFolder() const = 0;
    // File name of the running executable without its extension.
    virtual std::string ExecutableName() const = 0;
    // The argument text of the process as received, without the program's own name.
    virtual std::string CommandLine() const = 0;
    // True when another instance of this program runs for the same user and log-on session.
    virtual bool PreviousInstance() const = 0;
    // Shows or hides the program's windows in the task list.
    virtual void SetTaskListVisible(bool visible) = 0;
    virtual bool TaskListVisible() const = 0;
    virtual ProgramVersion Version() const = 0;
};

}  // namespace kestrum
