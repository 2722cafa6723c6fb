#include <vector>

#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::win32 {

namespace {

// The system writes nothing into a buffer that is too small and answers the size it needs.
template <typename Query>
std::optional<std::string> DirectoryQuery(std::size_t bufferChars, Query query) {
    if (bufferChars == 0) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    const UINT got = query(buffer.data(), static_cast<UINT>(bufferChars));
    if (got == 0 || got >= bufferChars) {
        return std::nullopt;
    }
    return WideToUtf8(std::wstring_view(buffer.data(), got));
}

}  // namespace

bool Win32SystemInfo::QueryVersion(VersionRecord& record) {
    if (record.recordSize != sizeof(OSVERSIONINFOA)) {
        return false;
    }
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = record.recordSize;
    // Deprecated, but it is the query whose answers (platform id and build) the program relies on.
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    if (!GetVersionExA(&info)) {
        return false;
    }
    record.majorVersion = info.dwMajorVersion;
    record.minorVersion = info.dwMinorVersion;
    record.buildNumber = info.dwBuildNumber;
    record.platformId = info.dwPlatformId;
    return true;
}

std::optional<std::string> Win32SystemInfo::UserName(std::size_t bufferChars) {
    if (bufferChars == 0) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    DWORD size = static_cast<DWORD>(bufferChars);
    if (!GetUserNameW(buffer.data(), &size)) {
        return std::nullopt;
    }
    return WideToUtf8(buffer.data());
}

std::optional<std::string> Win32SystemInfo::WindowsDirectory(std::size_t bufferChars) {
    return DirectoryQuery(bufferChars, [](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); });
}

std::optional<std::string> Win32SystemInfo::SystemDirectory(std::size_t bufferChars) {
    return DirectoryQuery(bufferChars, [](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
}

std::optional<std::string> Win32SystemInfo::TempDirectory(std::size_t bufferChars) {
    return DirectoryQuery(bufferChars,
                          [](wchar_t* b, UINT n) { return static_cast<UINT>(GetTempPathW(n, b)); });
}

bool Win32SystemInfo::RegisterServiceProcess(std::uint32_t processId, std::uint32_t type) {
    using Fn = DWORD(WINAPI*)(DWORD, DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "RegisterServiceProcess") : nullptr;
    if (found == nullptr) {
        return false;
    }
    const auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(found));
    return fn(processId, type) != 0;
}

}  // namespace kestrum::win32
