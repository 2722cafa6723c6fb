#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace kestrum::fakes {

// Files and folders in memory, looked up without regard to ASCII case like Windows paths.
// File contents are bytes in the "ANSI" code page, which this fake takes to be Latin-1.
class FakeFileSystem final : public IFileSystem {
public:
    FakeFileSystem();

    void AddFolder(const std::string& path, std::uint32_t attributes = attr::kDirectory);
    void AddFile(const std::string& path, const std::string& bytes,
                 std::uint32_t attributes = attr::kArchive);
    // A folder link that leads to `target`, as a junction does.
    void AddFolderLink(const std::string& path, const std::string& target);
    void AddDrive(const std::string& drive);  // "D:"

    std::optional<std::string> Bytes(const std::string& path) const;
    bool Exists(const std::string& path) const;
    // Every path held, in lower case.
    std::vector<std::string> AllPaths() const;

    // Files another program holds open: they refuse deletion, and writing too unless writable.
    void Lock(const std::string& path, bool writable) {
        (writable ? lockedWritable_ : locked_).insert(Key(path));
    }

    bool FileExists(const std::string& path) override;
    std::optional<std::string> ReadTextFile(const std::string& path) override;
    bool WriteTextFile(const std::string& path, const std::string& text) override;
    std::string CurrentDirectory() override { return current_; }
    bool ChangeDrive(const std::string& drive) override;
    bool ChangeDirectory(const std::string& path) override;

    std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool FindsNormalFile(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    std::optional<std::uint64_t> FileLength(const std::string& path) override;
    std::unique_ptr<IOverwriteFile> OpenForOverwrite(const std::string& path) override;
    bool Move(const std::string& from, const std::string& to) override;
    bool ForceDelete(const std::string& path) override;
    bool IsSameFolder(const std::string& first, const std::string& second) override;

    std::set<std::string> unreadable;  // lower-case paths whose reads fail
    // Every write that reached a file: (lower-case path, the bytes of the whole pass so far).
    std::vector<std::pair<std::string, std::string>> flushedPasses;
    std::size_t largestWrite = 0;
    // Every folder listed and every file whose deletion was asked for, in lower case and in
    // order, whether or not it existed.
    std::vector<std::string> touched;
    // Called with the lower-case path of every file or folder once it has gone.
    std::function<void(const std::string&)> onRemoved;

private:
    struct Node {
        std::string name;  // as created
        std::uint32_t attributes = 0;
        std::string bytes;
        std::string linkTarget;  // lower case; folder links only
    };
    static std::string Key(const std::string& path);
    static std::string Parent(const std::string& key);
    // Follows folder links in the path's folders, as the system does when it opens a path, and
    // takes a relative path in the current directory.
    std::string Resolve(const std::string& path) const;
    const Node* Find(const std::string& path) const;
    Node* Find(const std::string& path);
    void Removed(const std::string& key) {
        if (onRemoved) {
            onRemoved(key);
        }
    }
    bool IsLocked(const std::string& key) const {
        return locked_.count(key) != 0 || lockedWritable_.count(key) != 0;
    }

    friend class FakeOverwriteFile;
    std::map<std::string, Node> nodes_;
    std::set<std::string> drives_;
    std::set<std::string> locked_;
    std::set<std::string> lockedWritable_;
    std::string current_ = "C:\\WINDOWS\\system32";
};

}  // namespace kestrum::fakes
