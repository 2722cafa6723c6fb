#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace kestrum::fakes {

// Files and folders in memory, looked up without regard to ASCII case like Windows paths.
// File contents are bytes in the "ANSI" code page, which this fake takes to be Latin-1.
class FakeFileSystem final : public IFileSystem {
public:
    FakeFileSystem();

    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& bytes);
    std::optional<std::string> Bytes(const std::string& path) const;
    void AddDrive(const std::string& drive);  // "D:"

    bool FileExists(const std::string& path) override;
    std::optional<std::string> ReadTextFile(const std::string& path) override;
    bool WriteTextFile(const std::string& path, const std::string& text) override;
    std::string CurrentDirectory() override { return current_; }
    bool ChangeDrive(const std::string& drive) override;
    bool ChangeDirectory(const std::string& path) override;

    std::set<std::string> unreadable;  // lower-case paths whose reads fail

private:
    static std::string Key(const std::string& path);

    std::map<std::string, std::string> files_;
    std::set<std::string> folders_;
    std::set<std::string> drives_;
    std::string current_ = "C:\\WINDOWS\\system32";
};

}  // namespace kestrum::fakes
