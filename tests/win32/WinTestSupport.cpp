#include "WinTestSupport.h"

namespace kestrum::wintest {

Process::Process(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    // Under a loaded Wine a start now and then fails for a moment; a user would simply try again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring mutableLine = commandLine;
        if (CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info_)) {
            startError_ = 0;
            return;
        }
        startError_ = GetLastError();
        info_ = {};
        Sleep(500);
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

namespace {

// The top-level windows of a process, in z order.
std::vector<HWND> WindowsOf(DWORD processId) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lparam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lparam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid) {
                s->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    std::vector<HWND> visible;
    for (HWND hwnd : WindowsOf(processId)) {
        if (IsWindowVisible(hwnd)) {
            visible.push_back(hwnd);
        }
    }
    return visible;
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

void Press(HWND button) {
    // The notification a click ends in, sent straight to the owner: BM_CLICK goes through focus
    // and mouse capture, which Wine's X11 driver may move away from a background window between
    // the button's down and up halves, and the click is then silently lost.
    HWND parent = button != nullptr ? GetParent(button) : nullptr;
    if (parent == nullptr) {
        return;
    }
    const auto id = static_cast<WORD>(GetDlgCtrlID(button));
    PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::string Narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            size, nullptr, nullptr);
    }
    return bytes;
}

std::string DescribeWindowsOf(DWORD processId) {
    std::string text;
    for (HWND hwnd : WindowsOf(processId)) {
        text += IsWindowVisible(hwnd) ? "[visible] " : "[hidden] ";
        text += Narrow(TextOf(hwnd));
        for (const std::wstring& child : ChildTexts(hwnd)) {
            text += " | " + Narrow(child);
        }
        text += "\n";
    }
    return text.empty() ? std::string("no windows\n") : text;
}

std::wstring InstalledKestrum() { return L"C:\\Program Files\\Kestrum\\Kestrum.exe"; }

}  // namespace kestrum::wintest
