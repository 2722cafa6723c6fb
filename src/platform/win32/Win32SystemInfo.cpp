#include <vector>

#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::win32 {

namespace {

// The ANSI version record, the form Windows 95/98/ME answer too.
constexpr DWORD kVersionRecordSize = sizeof(OSVERSIONINFOA);
static_assert(kVersionRecordSize == 148);
constexpr DWORD kUserNameBufferChars = 80;

// The system writes nothing into a buffer that is too small and answers the size it needs.
template <typename Query>
std::optional<std::string> DirectoryQuery(UINT bufferChars, Query query) {
    if (bufferChars == 0) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    const UINT got = query(buffer.data(), bufferChars);
    if (got == 0 || got >= bufferChars) {
        return std::nullopt;
    }
    return WideToUtf8(std::wstring_view(buffer.data(), got));
}

// A folder of any length the system gives: asked again with the size it says it needs.
template <typename Query>
std::optional<std::string> WholeDirectory(Query query) {
    const UINT needed = query(nullptr, 0);
    return DirectoryQuery(needed, query);
}

UINT WindowsFolder(wchar_t* b, UINT n) {
    return GetWindowsDirectoryW(b, n);
}
UINT SystemFolder(wchar_t* b, UINT n) {
    return GetSystemDirectoryW(b, n);
}
UINT TempFolder(wchar_t* b, UINT n) {
    return static_cast<UINT>(GetTempPathW(n, b));
}

}  // namespace

std::optional<WindowsVersion> QueryVersion(DWORD recordSize) {
    if (recordSize != kVersionRecordSize) {
        return std::nullopt;
    }
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = recordSize;
    // Deprecated, but it is the query whose answers (platform id and build) the program relies on.
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    if (!GetVersionExA(&info)) {
        return std::nullopt;
    }
    const bool isNt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    return WindowsVersion{isNt, isNt ? info.dwBuildNumber : 0};
}

std::optional<std::string> QueryUserName(DWORD bufferChars) {
    if (bufferChars == 0) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    DWORD size = bufferChars;
    if (!GetUserNameW(buffer.data(), &size)) {
        return std::nullopt;
    }
    return WideToUtf8(buffer.data());
}

std::optional<std::string> QueryWindowsDirectory(UINT bufferChars) {
    return DirectoryQuery(bufferChars, WindowsFolder);
}

std::optional<WindowsVersion> Win32SystemInfo::Version() {
    return QueryVersion(kVersionRecordSize);
}

std::optional<std::string> Win32SystemInfo::UserName() {
    return QueryUserName(kUserNameBufferChars);
}

std::optional<std::string> Win32SystemInfo::WindowsDirectory() {
    return WholeDirectory(WindowsFolder);
}

std::optional<std::string> Win32SystemInfo::SystemDirectory() {
    return WholeDirectory(SystemFolder);
}

std::optional<std::string> Win32SystemInfo::TempDirectory() {
    return WholeDirectory(TempFolder);
}

bool Win32SystemInfo::RegisterServiceProcess(bool registered) {
    using Fn = DWORD(WINAPI*)(DWORD, DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "RegisterServiceProcess") : nullptr;
    if (found == nullptr) {
        return false;
    }
    const auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(found));
    return fn(GetCurrentProcessId(), registered ? 1 : 0) != 0;
}

}  // namespace kestrum::win32
