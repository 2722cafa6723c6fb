#pragma once

#include "common/Text.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "fakes/ui/FakeUiToolkit.h"
#include "platform/Platform.h"

namespace kestrum::fakes {

// An XP machine of the user Alice; an empty folder is one the system cannot give.
class FakeSystemInfo final : public ISystemInfo {
  public:
    bool versionQueryFails = false, isNt = true, hasRegisterServiceProcess = false;
    std::uint32_t buildNumber = 2600;
    std::string userName = "Alice", windowsDirectory = "C:\\WINDOWS",
                systemDirectory = "C:\\WINDOWS\\system32",
                tempDirectory = "C:\\DOCUME~1\\Alice\\LOCALS~1\\Temp\\";
    std::optional<bool> registered;  // by RegisterServiceProcess, where the system has it

    std::optional<WindowsVersion> Version() override {
        return versionQueryFails ? std::nullopt : std::optional(WindowsVersion{isNt, buildNumber});
    }
    std::optional<std::string> UserName() override {
        return userName.size() < 80 ? Given(userName) : std::nullopt;
    }
    std::optional<std::string> WindowsDirectory() override { return Given(windowsDirectory); }
    std::optional<std::string> SystemDirectory() override { return Given(systemDirectory); }
    std::optional<std::string> TempDirectory() override { return Given(tempDirectory); }
    bool RegisterServiceProcess(bool registeredNow) override {
        registered = hasRegisterServiceProcess ? std::optional(registeredNow) : registered;
        return hasRegisterServiceProcess;
    }

  private:
    static std::optional<std::string> Given(const std::string& t) {
        return t.empty() ? std::nullopt : std::optional(t);
    }
};

class FakeApplication final : public IApplication {
  public:
    std::string folder = "C:\\Program Files\\Kestrum", exeName = "Kestrum", commandLine;
    bool previousInstance = false, taskListVisible = true;

    std::string Title() const override { return "Kestrum"; }
    std::string ExecutableFolder() const override { return folder; }
    std::string ExecutableName() const override { return exeName; }
    std::string CommandLine() const override { return commandLine; }
    bool PreviousInstance() const override { return previousInstance; }
    void SetTaskListVisible(bool visible) override { taskListVisible = visible; }
    bool TaskListVisible() const override { return taskListVisible; }
    ProgramVersion Version() const override { return version; }

    ProgramVersion version{1, 6};
};

// Ends nothing: records what it was asked and refuses where a test says, "access denied" (5).
class FakePower final : public IPower {
  public:
    std::optional<PrivilegeStep> refusingStep;
    bool exitAccepted = true;
    int privilegeRequests = 0;
    std::vector<std::uint32_t> exits;

    std::optional<PrivilegeRefusal> EnableShutdownPrivilege() override {
        ++privilegeRequests;
        return refusingStep ? std::optional(PrivilegeRefusal{*refusingStep, 5}) : std::nullopt;
    }
    std::optional<std::uint32_t> EndSession(std::uint32_t flags) override {
        exits.push_back(flags);
        return exitAccepted ? std::nullopt : std::optional<std::uint32_t>(5);
    }
    std::string SystemMessage(std::uint32_t code) override {
        return code == 5 ? "Access is denied.\r\n" : "";
    }
};

// Records what it was asked; a link is a file of "target|arguments", made only in a folder.
class FakeShell final : public IShell {
  public:
    FakeFileSystem* files = nullptr;
    bool linksFail = false;
    std::vector<std::string> links,
        started;  // "link path|target|arguments", "program|command line"
    std::vector<std::uint32_t> recycleBinFlags;

    bool EmptyRecycleBin(std::uint32_t flags) override {
        recycleBinFlags.push_back(flags);
        return true;
    }
    bool StartHidden(const std::string& program, const std::string& commandLine) override {
        started.push_back(program + "|" + commandLine);
        return true;
    }
    bool OpenDocument(const std::string& target) override {
        opened.push_back(target);
        return true;
    }
    // A program starts when the file system holds it.
    bool StartProgram(const std::string& program) override {
        started.push_back(program);
        return files->FileExists(program);
    }

    std::vector<std::string> opened;
    bool CreateShellLink(const std::string& linkPath, const std::string& target,
                         const std::string& arguments) override {
        links.push_back(linkPath + "|" + target + "|" + arguments);
        const auto found =
            !linksFail ? files->Attributes(linkPath.substr(0, linkPath.rfind('\\'))) : std::nullopt;
        if (!found || (*found & attr::kDirectory) == 0) {
            return false;
        }
        files->AddFile(linkPath, target + "|" + arguments);
        return true;
    }
};

// A mail client that signs on unless told not to, and records each message handed to it.
class FakeMail final : public IMail {
  public:
    bool signOnFails = false, sendFails = false;
    int signOns = 0;
    std::vector<std::uint64_t> signedOff;
    std::vector<std::string> sent;  // "session|to|subject"

    std::uint64_t SignOn() override {
        ++signOns;
        return signOnFails ? 0 : 40 + static_cast<std::uint64_t>(signOns);
    }
    bool SendWithDialog(std::uint64_t session, const std::string& to,
                        const std::string& subject) override {
        sent.push_back(std::to_string(session) + "|" + to + "|" + subject);
        return !sendFails;
    }
    void SignOff(std::uint64_t session) override { signedOff.push_back(session); }
};

// English settings: names compare without regard to ASCII case, thousands go in threes.
class FakeLocale final : public ILocale {
  public:
    int CompareNames(const std::string& a, const std::string& b) override {
        return ToLowerAscii(a).compare(ToLowerAscii(b));
    }
    std::string FormatCount(std::uint64_t count) override {
        const std::string digits = std::to_string(count);
        std::string text;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0) {
                text += ',';
            }
            text += digits[i];
        }
        return text;
    }
};

struct FakePlatform {
    FakeApplication application;
    FakeSystemInfo system;
    FakeSettingsStore settings;
    FakeFileSystem files;
    FakeClock clock;
    FakeUiToolkit ui{clock};
    FakeShell shell;
    FakeRegistry registry;
    FakePower power;
    FakeMail mail;
    FakeLocale locale;

    FakePlatform() { shell.files = &files; }
    Platform services() {
        return Platform{application, system,   settings, files, clock, ui,
                        shell,       registry, power,    mail,  locale};
    }
};

}  // namespace kestrum::fakes
