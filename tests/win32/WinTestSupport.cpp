#include "WinTestSupport.h"

#include <algorithm>

namespace kestrum::wintest {

Process::Process(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    // Under a loaded Wine a start now and then fails for a moment; a user would simply try again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring mutableLine = commandLine;
        if (CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info_)) {
            return;
        }
        info_ = {};
        Sleep(500);
    }
}

Process::~Process() {
    if (info_.hProcess != nullptr) {
        if (!WaitForExit(0)) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool Process::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
    return info_.hProcess != nullptr &&
           WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0 &&
           (exitCode == nullptr || GetExitCodeProcess(info_.hProcess, exitCode));
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    std::pair<DWORD, std::vector<HWND>> search{processId, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lparam) -> BOOL {
            auto& [pid, found] = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lparam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == pid && IsWindowVisible(hwnd)) {
                found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    return text;
}

HWND WaitForWindow(DWORD processId, const std::wstring& title, DWORD milliseconds,
                   const std::wstring& childText) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        for (HWND hwnd : VisibleWindowsOf(processId)) {
            const auto texts = childText.empty() ? std::vector<std::wstring>{} : ChildTexts(hwnd);
            if (TextOf(hwnd) == title &&
                (childText.empty() ||
                 std::find(texts.begin(), texts.end(), childText) != texts.end())) {
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
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = L"";
        GetClassNameW(child, cls, 32);
        if (lstrcmpiW(cls, L"Button") == 0 && TextOf(child) == caption) {
            return child;
        }
    }
    return nullptr;
}

void Press(HWND button) {
    // The notification a click ends in, sent straight to the owner: BM_CLICK goes through focus
    // and mouse capture, which Wine's X11 driver may move away from a background window between
    // the button's down and up halves, and the click is then silently lost.
    HWND parent = button != nullptr ? GetParent(button) : nullptr;
    if (parent != nullptr) {
        PostMessageW(parent, WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(button)), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
}

std::string Narrow(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');  // enough for any UTF-16 text
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<std::size_t>(size > 0 ? size : 0));
    return bytes;
}

std::string DescribeWindowsOf(DWORD processId) {
    std::string text = "visible windows:\n";
    for (HWND hwnd : VisibleWindowsOf(processId)) {
        text += Narrow(TextOf(hwnd));
        for (const std::wstring& child : ChildTexts(hwnd)) {
            text += " | " + Narrow(child);
        }
        text += "\n";
    }
    return text;
}

std::wstring InstalledKestrum() {
    return L"C:\\Program Files\\Kestrum\\Kestrum.exe";
}

}  // namespace kestrum::wintest
