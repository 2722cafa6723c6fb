#include "platform/win32/Win32Services.h"

#include <shellapi.h>

#include <vector>

#include "platform/win32/WideString.h"

namespace kestrum::win32 {

bool Win32Shell::EmptyRecycleBin(std::uint32_t flags) {
    // An empty bin answers a failure too; callers do not look at the answer.
    return SUCCEEDED(SHEmptyRecycleBinW(nullptr, nullptr, flags));
}

bool Win32Shell::StartHidden(const std::string& program, const std::string& commandLine) {
    if (program.find('\0') != std::string::npos || commandLine.find('\0') != std::string::npos) {
        return false;
    }
    const std::wstring application = Utf8ToWide(program);
    // The system may write into the command line it is given.
    std::wstring text = Utf8ToWide(commandLine);
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), buffer.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    // Nothing waits for the command: its handles go at once.
    const KernelHandle thread(process.hThread);
    const KernelHandle child(process.hProcess);
    return true;
}

bool Win32Shell::OpenDocument(const std::string& target) {
    if (target.find('\0') != std::string::npos) {
        return false;
    }
    // The shell answers a value above 32 for success.
    const auto done = reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, L"open", Utf8ToWide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return done > 32;
}

bool Win32Shell::StartProgram(const std::string& program) {
    if (program.find('\0') != std::string::npos) {
        return false;
    }
    const std::wstring application = Utf8ToWide(program);
    // Quoted, so that a blank in the path does not split the program's own name.
    std::wstring commandLine = L"\"" + application + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        return false;
    }
    const KernelHandle thread(process.hThread);
    const KernelHandle child(process.hProcess);
    return true;
}

}  // namespace kestrum::win32
