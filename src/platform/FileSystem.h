#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrum {

namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
// Junctions, symbolic links and mount points: what they lead to belongs to somebody else.
inline constexpr std::uint32_t kReparsePoint = 0x400;
}  // namespace attr

struct FolderEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

// What kind of drive the system takes a drive letter for.
enum class DriveType { Unknown, Removable, Fixed, Network, CompactDisc, RamDisk };

struct DriveInfo {
    char letter = 'C';  // upper case
    DriveType type = DriveType::Unknown;
    // Read only where it means something without a medium: fixed and network drives.
    std::string volumeName;
    // The share a network drive stands for ("\\server\share"), else empty.
    std::string shareName;
};

// A file opened for overwriting in place; it is never truncated or extended.
class IOverwriteFile {
  public:
    virtual ~IOverwriteFile() = default;
    virtual bool Write(std::uint64_t offset, const unsigned char* data, std::size_t size) = 0;
    // Forces what was written onto the disk.
    virtual bool Flush() = 0;
    // How many names (hard links) the file's data has; 0 when that cannot be told.
    virtual std::uint32_t LinkCount() = 0;
};

// The file system. Paths are UTF-8 in Windows notation; a path that holds a NUL character
// names nothing and every operation on it fails.
class IFileSystem {
  public:
    virtual ~IFileSystem() = default;

    // True for an existing file, false for a folder or nothing.
    virtual bool FileExists(const std::string& path) = 0;
    // The whole file decoded from the system ANSI code page; nothing when it cannot be read.
    virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
    // Replaces the file's content with the text encoded in the system ANSI code page.
    virtual bool WriteTextFile(const std::string& path, const std::string& text) = 0;

    virtual std::string CurrentDirectory() = 0;
    // drive is a letter followed by ":" ("C:").
    virtual bool ChangeDrive(const std::string& drive) = 0;
    virtual bool ChangeDirectory(const std::string& path) = 0;

    // Every entry of the folder, hidden and system ones included, without "." and "..". Nothing
    // when the folder cannot be listed.
    virtual std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) = 0;
    virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // True when a search for normal files finds the path: a file that is neither hidden, system
    // nor a folder.
    virtual bool FindsNormalFile(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Deletes a file no other program has open, keeping everyone else out until it is gone (never
    // a folder, never what a link leads to). True only when the file is certain to be gone; false
    // when it is held open or cannot be deleted, and then it is left untouched.
    virtual bool RemoveUnsharedFile(const std::string& path) = 0;
    // Removes an empty folder, or a link to a folder without touching what it leads to.
    virtual bool RemoveFolder(const std::string& path) = 0;
    virtual std::optional<std::uint64_t> FileLength(const std::string& path) = 0;
    virtual std::unique_ptr<IOverwriteFile> OpenForOverwrite(const std::string& path) = 0;
    // Renames; fails when the destination exists already.
    virtual bool Move(const std::string& from, const std::string& to) = 0;
    // Deletes a file even when it is read-only.
    virtual bool ForceDelete(const std::string& path) = 0;
    // Every drive the system has, in the order of their letters.
    virtual std::vector<DriveInfo> Drives() = 0;
    // True for an existing folder (a drive root included), false for a file or nothing.
    virtual bool FolderExists(const std::string& path) = 0;
    // True when both paths name one existing folder, however each is spelt (short names, links).
    virtual bool IsSameFolder(const std::string& first, const std::string& second) = 0;
};

}  // namespace kestrum
