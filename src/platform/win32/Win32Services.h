#pragma once

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/Mail.h"
#include "platform/Power.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace kestrum::win32 {

class Win32Application final : public IApplication {
  public:
    Win32Application();
    Win32Application(const Win32Application&) = delete;
    Win32Application& operator=(const Win32Application&) = delete;

    std::string Title() const override { return "Kestrum"; }
    std::string ExecutableFolder() const override { return folder_; }
    std::string ExecutableName() const override { return name_; }
    std::string CommandLine() const override { return commandLine_; }
    bool PreviousInstance() const override { return previousInstance_; }
    void SetTaskListVisible(bool visible) override;
    bool TaskListVisible() const override { return taskListVisible_; }
    ProgramVersion Version() const override;

  private:
    std::string folder_;
    std::string name_;
    std::string commandLine_;
    KernelHandle instanceMutex_;
    bool previousInstance_ = false;
    bool taskListVisible_ = true;
};

// The argument text of a full command line: what follows the program's name and the blanks after
// it, exactly as the system parses the name.
std::string ArgumentsOf(const std::wstring& commandLine);

class Win32SystemInfo final : public ISystemInfo {
  public:
    std::optional<WindowsVersion> Version() override;
    std::optional<std::string> UserName() override;
    std::optional<std::string> WindowsDirectory() override;
    std::optional<std::string> SystemDirectory() override;
    std::optional<std::string> TempDirectory() override;
    bool RegisterServiceProcess(bool registered) override;
};

// The queries behind Win32SystemInfo with the caller's record size and buffer length, as the
// system takes them: a wrong record size or a text that leaves no room for its NUL gives nothing.
std::optional<WindowsVersion> QueryVersion(DWORD recordSize);
std::optional<std::string> QueryUserName(DWORD bufferChars);
std::optional<std::string> QueryWindowsDirectory(UINT bufferChars);

// HKEY_CURRENT_USER\Software\<application>\<section>, text values only.
class Win32SettingsStore final : public ISettingsStore {
  public:
    std::optional<std::string> Read(const std::string& application, const std::string& section,
                                    const std::string& name) override;
    bool Write(const std::string& application, const std::string& section, const std::string& name,
               const std::string& value) override;
};

class Win32FileSystem final : public IFileSystem {
  public:
    bool FileExists(const std::string& path) override;
    std::optional<std::string> ReadTextFile(const std::string& path) override;
    bool WriteTextFile(const std::string& path, const std::string& text) override;
    std::string CurrentDirectory() override;
    bool ChangeDrive(const std::string& drive) override;
    bool ChangeDirectory(const std::string& path) override;

    std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool FindsNormalFile(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveUnsharedFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    std::optional<std::uint64_t> FileLength(const std::string& path) override;
    std::unique_ptr<IOverwriteFile> OpenForOverwrite(const std::string& path) override;
    bool Move(const std::string& from, const std::string& to) override;
    bool ForceDelete(const std::string& path) override;
    bool IsSameFolder(const std::string& first, const std::string& second) override;
    std::vector<DriveInfo> Drives() override;
    bool FolderExists(const std::string& path) override;
};

class Win32Locale final : public ILocale {
  public:
    int CompareNames(const std::string& a, const std::string& b) override;
    std::string FormatCount(std::uint64_t count) override;
};

class Win32Shell final : public IShell {
  public:
    bool EmptyRecycleBin(std::uint32_t flags) override;
    bool StartHidden(const std::string& program, const std::string& commandLine) override;
    bool CreateShellLink(const std::string& linkPath, const std::string& target,
                         const std::string& arguments) override;
    bool OpenDocument(const std::string& target) override;
    bool StartProgram(const std::string& program) override;
};

// The mail client's Simple MAPI, loaded when first asked for, so that a system without a mail
// client still starts the program.
class Win32Mail final : public IMail {
  public:
    std::uint64_t SignOn() override;
    bool SendWithDialog(std::uint64_t session, const std::string& to,
                        const std::string& subject) override;
    void SignOff(std::uint64_t session) override;

  private:
    // The library, or nothing when the system has no mail client.
    HMODULE Library();
    template <typename Fn>
    Fn Function(const char* name);

    ModuleHandle library_;
    bool tried_ = false;
};

class Win32Registry final : public IRegistry {
  public:
    std::unique_ptr<IRegistryKey> Open(RegistryHive hive, const std::string& path,
                                       RegistryAccess access, KeyLinks links) override;
};

// The real power service. Only the program itself asks it to end the session; tests use a fake.
class Win32Power final : public IPower {
  public:
    std::optional<PrivilegeRefusal> EnableShutdownPrivilege() override;
    std::optional<std::uint32_t> EndSession(std::uint32_t flags) override;
    std::string SystemMessage(std::uint32_t code) override;
};

// The rights the privilege step opens the process token with.
inline constexpr DWORD kShutdownTokenAccess = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY;

class Win32Clock final : public IClock {
  public:
    std::uint64_t NowMilliseconds() override { return GetTickCount64(); }
    std::uint64_t SeedTicks() override {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        return static_cast<std::uint64_t>(counter.QuadPart);
    }
};

}  // namespace kestrum::win32
