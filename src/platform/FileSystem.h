#pragma once

#include <optional>
#include <string>

namespace kestrum {

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
};

}  // namespace kestrum
