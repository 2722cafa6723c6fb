#pragma once

#include <functional>
#include <map>
#include <set>

#include "platform/FileSystem.h"

namespace kestrum::fakes {

// Files and folders in memory, looked up without regard to ASCII case like Windows paths.
// File contents are bytes in the "ANSI" code page, which this fake takes to be Latin-1.
class FakeFileSystem final : public IFileSystem {
  public:
    FakeFileSystem() { AddFolder(current_); }
    void AddFolder(const std::string& path, std::uint32_t attributes = attr::kDirectory) {
        AddFile(path, {}, attributes | attr::kDirectory);
    }
    void AddFile(const std::string& path, const std::string& bytes,  // with every missing folder
                 std::uint32_t attributes = attr::kArchive);
    // A folder link that leads to `target`, as a junction does.
    void AddFolderLink(const std::string& path, const std::string& target) {
        AddFolder(path, attr::kDirectory | attr::kReparsePoint);
        nodes_[Key(path)].linkTarget = Key(target);
    }
    void AddDrive(const std::string& drive) { AddFolder(drive + "\\"); }  // "D:"
    // Another name for an existing file's data, as a hard link is.
    void AddHardLink(const std::string& path, const std::string& existing);
    // Held open by a program that shares it for writing only: it refuses deletion and renaming.
    void Lock(const std::string& path) { locks_.insert(Key(path)); }
    std::optional<std::string> Bytes(const std::string& path) {
        const Node* node = Find(path);
        return node && !(node->attributes & attr::kDirectory) ? std::optional(node->bytes)
                                                              : std::nullopt;
    }
    bool Exists(const std::string& path) { return Find(path) != nullptr; }
    std::vector<std::string> AllPaths() const {  // every path held, in lower case
        std::vector<std::string> paths;
        for (const auto& node : nodes_) {
            paths.push_back(node.first);
        }
        return paths;
    }

    bool FileExists(const std::string& path) override { return Bytes(path).has_value(); }
    std::optional<std::string> ReadTextFile(const std::string& path) override;
    bool WriteTextFile(const std::string& path, const std::string& text) override;
    std::string CurrentDirectory() override { return current_; }
    bool ChangeDrive(const std::string& drive) override {
        const bool known =
            drive.size() == 2 && drive[1] == ':' && nodes_.count(Key(drive + "\\")) != 0;
        current_ = known && Key(current_.substr(0, 2)) != Key(drive) ? drive + "\\" : current_;
        return known;
    }
    bool ChangeDirectory(const std::string& path) override {
        const bool folder = Find(path) && (Find(path)->attributes & attr::kDirectory);
        current_ = !folder                                  ? current_
                   : path.size() > 3 && path.back() == '\\' ? path.substr(0, path.size() - 1)
                                                            : path;
        return folder;
    }
    std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override {
        calls.emplace_back("Attributes", path);
        return Find(path) ? std::optional(Shown(Find(path)->attributes)) : std::nullopt;
    }
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
        constexpr std::uint32_t kKept = attr::kDirectory | attr::kReparsePoint;
        calls.emplace_back("SetAttributes", path);
        Node* node = Find(path);
        if (node != nullptr) {
            node->attributes = (node->attributes & kKept) | (attributes & ~(kKept | attr::kNormal));
        }
        return node != nullptr;
    }
    bool FindsNormalFile(const std::string& path) override {
        calls.emplace_back("FindsNormalFile", path);
        return Bytes(path) && (Find(path)->attributes & (attr::kHidden | attr::kSystem)) == 0;
    }
    bool RemoveFile(const std::string& path) override {
        touched.push_back(Key(path));
        calls.emplace_back("RemoveFile", path);
        return Erase(path, false, false);
    }
    bool RemoveUnsharedFile(const std::string& path) override {
        touched.push_back(Key(path));
        calls.emplace_back("RemoveUnsharedFile", path);
        return Erase(path, false, false);
    }
    bool RemoveFolder(const std::string& path) override {
        calls.emplace_back("RemoveFolder", path);
        return Erase(path, true, false);
    }
    std::optional<std::uint64_t> FileLength(const std::string& path) override {
        return Bytes(path) ? std::optional<std::uint64_t>(Bytes(path)->size()) : std::nullopt;
    }
    std::unique_ptr<IOverwriteFile> OpenForOverwrite(const std::string& path) override;
    bool Move(const std::string& from, const std::string& to) override;
    bool ForceDelete(const std::string& path) override { return Erase(path, false, true); }
    bool IsSameFolder(const std::string& first, const std::string& second) override;
    // The drive roots held, fixed disks without a volume name unless described.
    std::vector<DriveInfo> Drives() override;
    bool FolderExists(const std::string& path) override {
        const Node* node = path.empty() ? nullptr : Find(path);
        return node != nullptr && (node->attributes & attr::kDirectory) != 0;
    }
    // Describes a drive, adding its root.
    void DescribeDrive(const DriveInfo& drive) {
        AddDrive(std::string(1, drive.letter) + ":");
        drives_[drive.letter] = drive;
    }

    std::set<std::string> unreadable;  // lower-case paths whose reads fail
    // Every flush of an overwritten file: (lower-case path, its bytes at that point).
    std::vector<std::pair<std::string, std::string>> flushedPasses;
    std::size_t largestWrite = 0;
    // Every folder listed and file asked to be deleted, in lower case and order, existing or not.
    std::vector<std::string> touched;
    // The listings, attribute queries and changes, look-ups and removals: (call, path as given).
    std::vector<std::pair<std::string, std::string>> calls;
    // Called with the lower-case path of every file or folder once it has gone.
    std::function<void(const std::string&)> onRemoved = [](const std::string&) {};

  private:
    struct Node {  // the name as created; a folder link's target in lower case
        std::string name;
        std::uint32_t attributes = 0;
        std::string bytes, linkTarget;
        int sharedData = 0;  // hard links to one file share a number; 0 for a single name
    };
    // The names of the node's data, itself included.
    std::vector<Node*> NamesOf(const std::string& key);
    static std::uint32_t Shown(std::uint32_t attributes) {
        return attributes == 0 ? attr::kNormal : attributes;
    }
    static std::string Key(const std::string& path);
    static std::string Parent(const std::string& key);
    // Follows links along the path as opening it does; takes a relative path in the current one.
    std::string Resolve(const std::string& path) const;
    Node* Find(const std::string& path);
    // A file nobody holds open (a read-only one if forced), or a folder link or empty folder.
    bool Erase(const std::string& path, bool folder, bool force);

    friend class FakeOverwriteFile;
    std::map<std::string, Node> nodes_;
    std::set<std::string> locks_;
    std::map<char, DriveInfo> drives_;
    std::string current_ = "C:\\WINDOWS\\system32";
};

}  // namespace kestrum::fakes
