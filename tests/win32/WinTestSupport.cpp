#include "WinTestSupport.h"

namespace kestrum::wintest {

Process::Process(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring mutableLine = commandLine;
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
        info_ = {};
    }
}

Process::~Process() {
    if (info_.hProcess != nullptr) {
        if (Running()) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool Process::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
    if (info_.hProcess == nullptr || WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(info_.hProcess, exitCode);
    }
    return true;
}

bool Process::Running() {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lparam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lparam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid && IsWindowVisible(hwnd)) {
                s->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    return text;
}

HWND WaitForWindow(DWORD processId, const std::wstring& title, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        for (HWND hwnd : VisibleWindowsOf(processId)) {
            if (TextOf(hwnd) == title) {
                return hwnd;
            }
        }
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

std::vector<std::wstring> ChildTexts(HWND hwnd) {
    std::vector<std::wstring> texts;
    EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM lparam) -> BOOL {
            reinterpret_cast<std::vector<std::wstring>*>(lparam)->push_back(TextOf(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

HWND FindButton(HWND parent, const std::wstring& caption) {
    struct Search {
        const std::wstring& caption;
        HWND found;
    } search{caption, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lparam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lparam);
            wchar_t cls[32] = L"";
            GetClassNameW(child, cls, 32);
            if (lstrcmpiW(cls, L"Button") == 0 && TextOf(child) == s->caption) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

std::wstring InstalledKestrum() { return L"C:\\Program Files\\Kestrum\\Kestrum.exe"; }

}  // namespace kestrum::wintest
