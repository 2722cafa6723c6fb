#pragma once

#include <map>
#include <string>

#include "platform/Application.h"
#include "platform/SettingsStore.h"
#include "platform/SystemInfo.h"

namespace kestrum::fakes {

class FakeSystemInfo final : public ISystemInfo {
public:
    // An XP machine of the user Alice unless a test says otherwise.
    bool versionQueryFails = false;
    bool isNt = true;
    std::uint32_t buildNumber = 2600;
    std::string userName = "Alice";
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    std::string tempDirectory = "C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp\\";
    bool hasRegisterServiceProcess = false;

    // Set by RegisterServiceProcess where the system has it.
    std::optional<bool> registered;

    std::optional<WindowsVersion> Version() override;
    std::optional<std::string> UserName() override;
    std::optional<std::string> WindowsDirectory() override;
    std::optional<std::string> SystemDirectory() override;
    std::optional<std::string> TempDirectory() override;
    bool RegisterServiceProcess(bool registeredNow) override;
};

class FakeApplication final : public IApplication {
public:
    std::string title = "Kestrum";
    std::string folder = "C:\\Program Files\\Kestrum";
    std::string exeName = "Kestrum";
    std::string commandLine;
    bool previousInstance = false;
    bool taskListVisible = true;
    int taskListChanges = 0;

    std::string Title() const override { return title; }
    std::string ExecutableFolder() const override { return folder; }
    std::string ExecutableName() const override { return exeName; }
    std::string CommandLine() const override { return commandLine; }
    bool PreviousInstance() const override { return previousInstance; }
    void SetTaskListVisible(bool visible) override {
        taskListVisible = visible;
        ++taskListChanges;
    }
    bool TaskListVisible() const override { return taskListVisible; }
};

// Values keyed by "application\section\name". A value of another type than text reads as
// absent, so a test models it by leaving it out.
class FakeSettingsStore final : public ISettingsStore {
public:
    std::map<std::string, std::string> values;
    bool failWrites = false;

    static std::string Key(const std::string& application, const std::string& section,
                           const std::string& name) {
        return application + "\\" + section + "\\" + name;
    }
    void Put(const std::string& name, const std::string& value) {
        values[Key("Kestrum", "Settings", name)] = value;
    }

    std::optional<std::string> Read(const std::string& application, const std::string& section,
                                    const std::string& name) override;
    bool Write(const std::string& application, const std::string& section, const std::string& name,
               const std::string& value) override;
};

}  // namespace kestrum::fakes
