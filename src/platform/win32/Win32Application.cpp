#include <string>
#include <vector>

#include "common/Text.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::win32 {

namespace {

std::wstring ModuleFileName() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got == 0) {
            return {};
        }
        if (got < buffer.size()) {
            buffer.resize(got);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Per user and log-on session: the session's own namespace, and the user's name in the object's
// name so that another account in the same session runs its own instance.
std::wstring InstanceMutexName() {
    wchar_t user[257] = L"";
    DWORD size = 257;
    if (!GetUserNameW(user, &size)) {
        user[0] = L'\0';
    }
    std::wstring name = L"Local\\Kestrum.SingleInstance.";
    for (const wchar_t* c = user; *c != L'\0'; ++c) {
        name += *c == L'\\' ? L'_' : *c;
    }
    return name;
}

}  // namespace

std::string ArgumentsOf(const std::wstring& commandLine) {
    std::size_t pos = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const std::size_t close = commandLine.find(L'"', 1);
        pos = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        while (pos < commandLine.size() && commandLine[pos] != L' ' && commandLine[pos] != L'\t') {
            ++pos;
        }
    }
    while (pos < commandLine.size() && (commandLine[pos] == L' ' || commandLine[pos] == L'\t')) {
        ++pos;
    }
    return WideToUtf8(commandLine.substr(pos));
}

Win32Application::Win32Application() {
    const std::string path = WideToUtf8(ModuleFileName());
    const std::size_t slash = path.rfind('\\');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    folder_ = slash == std::string::npos ? std::string() : path.substr(0, slash);
    // A drive root keeps its separator: "D:\".
    if (folder_.size() == 2 && folder_[1] == ':') {
        folder_ += '\\';
    }
    const std::size_t dot = file.rfind('.');
    name_ = dot == std::string::npos ? file : file.substr(0, dot);
    commandLine_ = ArgumentsOf(GetCommandLineW());

    const HANDLE mutex = CreateMutexW(nullptr, FALSE, InstanceMutexName().c_str());
    previousInstance_ = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    instanceMutex_.reset(mutex);
}

void Win32Application::SetTaskListVisible(bool visible) {
    taskListVisible_ = visible;
    // Windows already open follow at once; new ones read the setting when they are made.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lparam) -> BOOL {
            const bool show = lparam != 0;
            LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
            style = show ? (style & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW
                         : (style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW;
            SetWindowLongPtrW(hwnd, GWL_EXSTYLE, style);
            return TRUE;
        },
        visible ? 1 : 0);
}

}  // namespace kestrum::win32

namespace kestrum::win32 {

ProgramVersion Win32Application::Version() const {
    const std::wstring path = ModuleFileName();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<unsigned char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
        info == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    return {static_cast<int>(HIWORD(info->dwFileVersionMS)),
            static_cast<int>(LOWORD(info->dwFileVersionMS))};
}

}  // namespace kestrum::win32
