#include <algorithm>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::win32 {

namespace {

// A text file this large is no list the program wrote; reading stops here rather than
// exhausting memory.
constexpr LONGLONG kMaxTextFileBytes = 64LL * 1024 * 1024;

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
    const auto wide = ToWin32Path(path);
    if (!wide || wide->empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32FileSystem::ReadTextFile(const std::string& path) {
    const auto wide = ToWin32Path(path);
    if (!wide) {
        return std::nullopt;
    }
    FileHandle file(CreateFileW(wide->c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        return std::nullopt;
    }
    const LONGLONG wanted = size.QuadPart < kMaxTextFileBytes ? size.QuadPart : kMaxTextFileBytes;
    std::string bytes(static_cast<std::size_t>(wanted), '\0');
    std::size_t have = 0;
    while (have < bytes.size()) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - have, 1 << 20));
        if (!ReadFile(file.get(), bytes.data() + have, chunk, &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        have += got;
    }
    bytes.resize(have);
    if (size.QuadPart > kMaxTextFileBytes) {
        // Never hand on a line cut in the middle.
        const std::size_t lastEnd = bytes.find_last_of("\r\n");
        bytes.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
    }
    return AnsiToUtf8(bytes);
}

bool Win32FileSystem::WriteTextFile(const std::string& path, const std::string& text) {
    const auto wide = ToWin32Path(path);
    if (!wide) {
        return false;
    }
    FileHandle file(CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    const std::string bytes = Utf8ToAnsi(text);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
            return false;
        }
        done += wrote;
    }
    return true;
}

std::string Win32FileSystem::CurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) {
        return {};
    }
    std::wstring buffer(needed, L'\0');
    const DWORD got = GetCurrentDirectoryW(needed, buffer.data());
    if (got == 0 || got >= needed) {
        return {};
    }
    buffer.resize(got);
    return WideToUtf8(buffer);
}

bool Win32FileSystem::ChangeDrive(const std::string& drive) {
    const bool letter =
        drive.size() == 2 && drive[1] == ':' &&
        ((drive[0] >= 'A' && drive[0] <= 'Z') || (drive[0] >= 'a' && drive[0] <= 'z'));
    // "X:" alone makes that drive current, at the folder last used there.
    return letter && SetCurrentDirectoryW(Utf8ToWide(drive).c_str()) != 0;
}

bool Win32FileSystem::ChangeDirectory(const std::string& path) {
    const auto wide = ToWin32Path(path);
    return wide && !wide->empty() && SetCurrentDirectoryW(wide->c_str()) != 0;
}

}  // namespace kestrum::win32
