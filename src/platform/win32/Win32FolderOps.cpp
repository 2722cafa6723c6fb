#include <tuple>

#include "common/Path.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::win32 {

namespace {

class Win32OverwriteFile final : public IOverwriteFile {
  public:
    explicit Win32OverwriteFile(FileHandle file) : file_(std::move(file)) {}

    bool Write(std::uint64_t offset, const unsigned char* data, std::size_t size) override {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD wrote = 0;
        return WriteFile(file_.get(), data, static_cast<DWORD>(size), &wrote, &at) && wrote == size;
    }
    bool Flush() override { return FlushFileBuffers(file_.get()) != 0; }
    // Asked of the open handle, so the answer is about the very file the writes would reach.
    std::uint32_t LinkCount() override {
        BY_HANDLE_FILE_INFORMATION info{};
        return GetFileInformationByHandle(file_.get(), &info) ? info.nNumberOfLinks : 0;
    }

  private:
    FileHandle file_;
};

}  // namespace

std::optional<std::vector<FolderEntry>> Win32FileSystem::ListFolder(const std::string& folder) {
    // An empty folder would list the current directory.
    const auto pattern =
        folder.empty() ? std::nullopt : ToWin32Path(WithTrailingSeparator(folder) + "*");
    if (!pattern) {
        return std::nullopt;
    }
    WIN32_FIND_DATAW found{};
    // Leaving out short names and fetching in large batches cut the cost of long listings;
    // systems that know neither refuse the call as an invalid parameter and get the plain search.
    HANDLE handle = FindFirstFileExW(pattern->c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) {
        handle = FindFirstFileW(pattern->c_str(), &found);
    }
    FindHandle search(handle);
    if (!search) {
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    do {
        const std::wstring_view name(found.cFileName);
        if (name == L"." || name == L"..") {
            continue;
        }
        entries.push_back({WideToUtf8(name), found.dwFileAttributes});
    } while (FindNextFileW(search.get(), &found));
    return entries;
}

std::optional<std::uint32_t> Win32FileSystem::Attributes(const std::string& path) {
    const auto wide = ToWin32Path(path);
    if (!wide) {
        return std::nullopt;
    }
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

bool Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const auto wide = ToWin32Path(path);
    return wide && SetFileAttributesW(wide->c_str(), attributes) != 0;
}

bool Win32FileSystem::FindsNormalFile(const std::string& path) {
    const auto attributes = Attributes(path);
    return attributes && (*attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                         FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
    const auto wide = ToWin32Path(path);
    return wide && DeleteFileW(wide->c_str()) != 0;
}

bool Win32FileSystem::RemoveUnsharedFile(const std::string& path) {
    const auto wide = ToWin32Path(path);
    if (!wide) {
        return false;
    }
    // Opened with no sharing, the file cannot be held by anyone else; deleted on the close of
    // this only handle, it is gone once the close returns. A read-only file refuses the open.
    const HANDLE file =
        CreateFileW(wide->c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    return CloseHandle(file) != 0;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
    const auto wide = ToWin32Path(path);
    // For a junction or a link this removes the link: the system never follows it here.
    return wide && RemoveDirectoryW(wide->c_str()) != 0;
}

std::optional<std::uint64_t> Win32FileSystem::FileLength(const std::string& path) {
    const auto wide = ToWin32Path(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!wide || !GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::unique_ptr<IOverwriteFile> Win32FileSystem::OpenForOverwrite(const std::string& path) {
    const auto wide = ToWin32Path(path);
    if (!wide) {
        return nullptr;
    }
    // Shared, so that a file another program holds open (an index.dat in use) can be
    // overwritten in place; OPEN_EXISTING never truncates.
    FileHandle file(CreateFileW(
        wide->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        return nullptr;
    }
    return std::make_unique<Win32OverwriteFile>(std::move(file));
}

bool Win32FileSystem::Move(const std::string& from, const std::string& to) {
    const auto source = ToWin32Path(from);
    const auto target = ToWin32Path(to);
    // No replace flag: an existing destination makes the move fail.
    return source && target && MoveFileExW(source->c_str(), target->c_str(), 0) != 0;
}

bool Win32FileSystem::ForceDelete(const std::string& path) {
    const auto wide = ToWin32Path(path);
    if (!wide) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(wide->c_str(),
                           attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    return DeleteFileW(wide->c_str()) != 0;
}

namespace {

// The volume and file index of an existing folder: its identity whatever the path's spelling.
std::optional<std::tuple<DWORD, DWORD, DWORD>> FolderIdentity(const std::string& path) {
    const auto wide = ToWin32Path(path);
    if (!wide) {
        return std::nullopt;
    }
    const FileHandle folder(
        CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder || !GetFileInformationByHandle(folder.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return std::nullopt;
    }
    return std::tuple{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

}  // namespace

bool Win32FileSystem::IsSameFolder(const std::string& first, const std::string& second) {
    const auto a = FolderIdentity(first);
    return a && a == FolderIdentity(second);
}

std::vector<DriveInfo> Win32FileSystem::Drives() {
    std::vector<DriveInfo> drives;
    const DWORD present = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((present & (1u << i)) == 0) {
            continue;
        }
        DriveInfo drive;
        drive.letter = static_cast<char>('A' + i);
        const std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":\\";
        switch (GetDriveTypeW(root.c_str())) {
            case DRIVE_REMOVABLE:
                drive.type = DriveType::Removable;
                break;
            case DRIVE_FIXED:
                drive.type = DriveType::Fixed;
                break;
            case DRIVE_REMOTE:
                drive.type = DriveType::Network;
                break;
            case DRIVE_CDROM:
                drive.type = DriveType::CompactDisc;
                break;
            case DRIVE_RAMDISK:
                drive.type = DriveType::RamDisk;
                break;
            default:
                drive.type = DriveType::Unknown;
                break;
        }
        // Only drives that answer without a medium are asked, so no "insert a disk" waits.
        if (drive.type == DriveType::Fixed || drive.type == DriveType::Network) {
            wchar_t volume[MAX_PATH + 1] = {};
            if (GetVolumeInformationW(root.c_str(), volume, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                      nullptr, 0)) {
                drive.volumeName = WideToUtf8(volume);
            }
        }
        if (drive.type == DriveType::Network) {
            wchar_t share[MAX_PATH + 1] = {};
            DWORD length = MAX_PATH + 1;
            if (WNetGetConnectionW(root.substr(0, 2).c_str(), share, &length) == NO_ERROR) {
                drive.shareName = WideToUtf8(share);
            }
        }
        drives.push_back(drive);
    }
    return drives;
}

bool Win32FileSystem::FolderExists(const std::string& path) {
    const auto wide = path.empty() ? std::nullopt : ToWin32Path(path);
    if (!wide) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int Win32Locale::CompareNames(const std::string& a, const std::string& b) {
    const std::wstring first = Utf8ToWide(a);
    const std::wstring second = Utf8ToWide(b);
    // The system answers 1, 2 or 3 for less, equal and greater.
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, first.c_str(),
                          static_cast<int>(first.size()), second.c_str(),
                          static_cast<int>(second.size())) -
           CSTR_EQUAL;
}

std::string Win32Locale::FormatCount(std::uint64_t count) {
    const std::wstring digits = std::to_wstring(count);
    wchar_t thousands[8] = L",";
    wchar_t decimal[8] = L".";
    wchar_t grouping[16] = L"3;0";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands, 8);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping, 16);
    // "3;0" groups in threes throughout; "3;2;0" groups the first three, then twos.
    UINT groups = 0;
    for (const wchar_t* c = grouping; *c != L'\0'; ++c) {
        if (*c >= L'1' && *c <= L'9') {
            groups = groups * 10 + static_cast<UINT>(*c - L'0');
        }
    }
    NUMBERFMTW format{0, 1, groups == 0 ? 3 : groups, decimal, thousands, 1};
    wchar_t text[64] = {};
    if (GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, text, 64) == 0) {
        return WideToUtf8(digits);
    }
    return WideToUtf8(text);
}

}  // namespace kestrum::win32
