#pragma once

#include <windows.h>

#include <string>

namespace kestrum::wintest {

// The Kestrum.exe installed in the sandbox, quoted for a command line.
const std::wstring kKestrum = L"\"C:\\Program Files\\Kestrum\\Kestrum.exe\" ";

// A program started by a test; ended by force when the test lets go of it while it still runs.
class Process {
  public:
    explicit Process(std::wstring commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        // Under a loaded Wine a start now and then fails for a moment; a user would simply try
        // again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            std::wstring line = commandLine;
            if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info_)) {
                return;
            }
            info_ = {};
            Sleep(500);
        }
    }
    ~Process() {
        if (info_.hProcess != nullptr) {
            if (!WaitForExit(0)) {
                TerminateProcess(info_.hProcess, 99);
                WaitForExit(5000);
            }
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    DWORD id() const { return info_.dwProcessId; }
    // True when it ended within the time; its exit code goes to *exitCode.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr) {
        return info_.hProcess != nullptr &&
               WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0 &&
               (exitCode == nullptr || GetExitCodeProcess(info_.hProcess, exitCode));
    }

  private:
    PROCESS_INFORMATION info_{};
};

// A volatile registry link at root\path that leads to target, given in the registry's own
// notation ("\Registry\Machine\...").
inline bool MakeRegistryLink(HKEY root, const std::wstring& path, const std::wstring& target) {
    // The keys above it are made lasting first: made along with a volatile key they would be
    // volatile too, and refuse lasting subkeys.
    HKEY parent = nullptr;
    if (RegCreateKeyExW(root, path.substr(0, path.rfind(L'\\')).c_str(), 0, nullptr, 0, KEY_READ,
                        nullptr, &parent, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(parent);
    }
    HKEY link = nullptr;
    if (RegCreateKeyExW(
            root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK,
            KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool set = RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                                    reinterpret_cast<const BYTE*>(target.data()),
                                    static_cast<DWORD>(target.size() * sizeof(wchar_t))) == 0;
    RegCloseKey(link);
    return set;
}

// Deletes a registry link itself, never what it leads to, or a key without subkeys.
inline void DeleteRegistryLink(HKEY root, const std::wstring& path) {
    using DeleteKey = LONG(NTAPI*)(HANDLE);
    const auto remove = reinterpret_cast<DeleteKey>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    HKEY link = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, DELETE, &link) == ERROR_SUCCESS) {
        remove(link);
        RegCloseKey(link);
    }
}

}  // namespace kestrum::wintest
