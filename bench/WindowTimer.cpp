// Starts a program and measures the time from its start until it shows a visible top-level window
// of the given title; then closes that window and waits for the program to end. Prints
// "shown N ms". For the benchmarks, which need the time inside Wine, without the host's start of
// Wine itself counted.
//
//   kestrum-window-timer.exe TITLE PROGRAM [ARGS...]
//
// Exit codes: 0 timed and closed; 1 bad usage or the program could not start; 2 no such window
// before the deadline, or the program ended first; 3 the program did not end once its window was
// closed (it is then terminated).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Generous: a loaded two-core machine under Wine.
constexpr ULONGLONG kDeadlineMs = 60000;
// Polling period, and so the resolution of the measure on both sides of a comparison.
constexpr DWORD kPollMs = 5;

// One argument as the C runtime's command-line parser reads it back.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are escaped, and so is the quote.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

struct Search {
    DWORD processId;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search.processId || !IsWindowVisible(hwnd)) {
        return TRUE;
    }
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    if (std::wstring(text) != search.title) {
        return TRUE;
    }
    search.found = hwnd;
    return FALSE;
}

double Milliseconds(LONGLONG from, LONGLONG to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to - from) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kestrum-window-timer.exe TITLE PROGRAM [ARGS...]\n");
        return 1;
    }
    std::wstring command = Quoted(argv[2]);
    for (int i = 3; i < argc; ++i) {
        command += L' ' + Quoted(argv[i]);
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start{}, shown{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "could not start the program (error %lu)\n", GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);

    Search search{process.dwProcessId, argv[1], nullptr};
    const ULONGLONG deadline = GetTickCount64() + kDeadlineMs;
    for (;;) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            QueryPerformanceCounter(&shown);
            break;
        }
        // Waiting on the process doubles as the pause between looks, and sees it end early.
        if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0 ||
            GetTickCount64() > deadline) {
            std::fprintf(stderr, "no visible window of that title came from the program\n");
            TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hProcess);
            return 2;
        }
    }
    std::printf("shown %.1f ms\n", Milliseconds(start.QuadPart, shown.QuadPart));
    std::fflush(stdout);

    PostMessageW(search.found, WM_CLOSE, 0, 0);
    const DWORD ended = WaitForSingleObject(process.hProcess, static_cast<DWORD>(kDeadlineMs));
    if (ended != WAIT_OBJECT_0) {
        std::fprintf(stderr, "the program did not end when its window was closed\n");
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    return ended == WAIT_OBJECT_0 ? 0 : 3;
}
