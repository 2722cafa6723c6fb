#include "fakes/FakeFileSystem.h"

#include <cstring>

#include "common/Text.h"

namespace kestrum::fakes {

namespace {
constexpr std::uint32_t kKeptBits = attr::kDirectory | attr::kReparsePoint;
}

class FakeOverwriteFile final : public IOverwriteFile {
public:
    FakeOverwriteFile(FakeFileSystem& fs, std::string key) : fs_(fs), key_(std::move(key)) {}
    bool Write(std::uint64_t offset, const unsigned char* data, std::size_t size) override {
        auto it = fs_.nodes_.find(key_);
        if (it == fs_.nodes_.end() || fs_.locked_.count(key_) != 0 ||
            offset + size > it->second.bytes.size()) {
            return false;
        }
        std::memcpy(it->second.bytes.data() + offset, data, size);
        fs_.largestWrite = std::max(fs_.largestWrite, size);
        return true;
    }
    bool Flush() override {
        auto it = fs_.nodes_.find(key_);
        if (it == fs_.nodes_.end()) {
            return false;
        }
        fs_.flushedPasses.emplace_back(key_, it->second.bytes);
        return true;
    }

private:
    FakeFileSystem& fs_;
    std::string key_;
};

FakeFileSystem::FakeFileSystem() {
    AddDrive("C:");
    AddFolder("C:\\WINDOWS\\system32");
}

std::string FakeFileSystem::Key(const std::string& path) {
    std::string key = ToLowerAscii(path);
    while (key.size() > 3 && key.back() == '\\') {
        key.pop_back();
    }
    return key;
}

std::string FakeFileSystem::Parent(const std::string& key) {
    const std::size_t slash = key.rfind('\\');
    if (slash == std::string::npos || key.size() <= 3) {
        return {};
    }
    return key.substr(0, slash == 2 ? 3 : slash);
}

std::string FakeFileSystem::Resolve(const std::string& given) const {
    // A path without a drive or share is taken relative to the current directory (or its
    // drive), as the system takes it.
    std::string path = given;
    if (!path.empty() && path.rfind("\\\\", 0) != 0 && (path.size() < 2 || path[1] != ':')) {
        path = path[0] == '\\' ? current_.substr(0, 2) + path : current_ + "\\" + path;
    }
    const std::string key = Key(path);
    if (key.size() <= 3) {
        return key;
    }
    const std::string parent = Resolve(Parent(key));
    const std::string name = key.substr(key.rfind('\\') + 1);
    std::string joined = parent.size() == 3 ? parent + name : parent + "\\" + name;
    const auto it = nodes_.find(parent);
    if (it != nodes_.end() && !it->second.linkTarget.empty()) {
        joined = it->second.linkTarget + "\\" + name;
    }
    return joined;
}

const FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) const {
    if (path.find('\0') != std::string::npos) {
        return nullptr;
    }
    const auto it = nodes_.find(Resolve(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) {
    return const_cast<Node*>(static_cast<const FakeFileSystem*>(this)->Find(path));
}

void FakeFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    const std::string key = Key(path);
    if (key.size() > 3 && nodes_.count(Parent(key)) == 0) {
        AddFolder(Parent(key));
    }
    Node& node = nodes_[key];
    node.name = path.substr(path.find_last_of('\\', path.size() - 2) + 1);
    node.attributes = attributes | attr::kDirectory;
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& bytes,
                             std::uint32_t attributes) {
    const std::string key = Key(path);
    if (nodes_.count(Parent(key)) == 0) {
        AddFolder(Parent(key));
    }
    nodes_[key] = Node{path.substr(path.rfind('\\') + 1), attributes, bytes, {}};
}

void FakeFileSystem::AddFolderLink(const std::string& path, const std::string& target) {
    AddFolder(path, attr::kDirectory | attr::kReparsePoint);
    nodes_[Key(path)].linkTarget = Key(target);
}

void FakeFileSystem::AddDrive(const std::string& drive) {
    drives_.insert(ToLowerAscii(drive));
    nodes_[ToLowerAscii(drive) + "\\"] = Node{drive + "\\", attr::kDirectory, {}, {}};
}

std::optional<std::string> FakeFileSystem::Bytes(const std::string& path) const {
    const Node* node = Find(path);
    if (node == nullptr || (node->attributes & attr::kDirectory) != 0) {
        return std::nullopt;
    }
    return node->bytes;
}

bool FakeFileSystem::Exists(const std::string& path) const { return Find(path) != nullptr; }

std::vector<std::string> FakeFileSystem::AllPaths() const {
    std::vector<std::string> paths;
    for (const auto& [key, node] : nodes_) {
        paths.push_back(key);
    }
    return paths;
}

bool FakeFileSystem::FileExists(const std::string& path) { return Bytes(path).has_value(); }

std::optional<std::string> FakeFileSystem::ReadTextFile(const std::string& path) {
    const auto bytes = Bytes(path);
    if (!bytes || unreadable.count(Key(path)) != 0) {
        return std::nullopt;
    }
    // Latin-1 to UTF-8: every byte is a character, as in a single-byte code page.
    std::string text;
    for (unsigned char c : *bytes) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

bool FakeFileSystem::WriteTextFile(const std::string& path, const std::string& text) {
    const std::string key = Key(path);
    const Node* parent = Find(Parent(key));
    const Node* existing = Find(key);
    if (parent == nullptr || (existing != nullptr && (existing->attributes & attr::kDirectory) != 0)) {
        return false;
    }
    // UTF-8 to Latin-1; characters outside it become "?" as the system's conversion does.
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && c <= 0xC3 && i + 1 < text.size()) {
            bytes += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
        } else {
            bytes += '?';
            while (i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
                ++i;
            }
        }
    }
    AddFile(path, bytes);
    return true;
}

bool FakeFileSystem::ChangeDrive(const std::string& drive) {
    if (drive.size() != 2 || drive[1] != ':' || drives_.count(ToLowerAscii(drive)) == 0) {
        return false;
    }
    if (ToLowerAscii(current_.substr(0, 2)) != ToLowerAscii(drive)) {
        current_ = drive + "\\";
    }
    return true;
}

bool FakeFileSystem::ChangeDirectory(const std::string& path) {
    const Node* node = Find(path);
    if (node == nullptr || (node->attributes & attr::kDirectory) == 0) {
        return false;
    }
    current_ = path;
    if (current_.size() > 3 && current_.back() == '\\') {
        current_.pop_back();
    }
    return true;
}

std::optional<std::vector<FolderEntry>> FakeFileSystem::ListFolder(const std::string& folder) {
    touched.push_back(Key(folder));
    const Node* node = Find(folder);
    if (node == nullptr || (node->attributes & attr::kDirectory) == 0) {
        return std::nullopt;
    }
    const std::string key = node->linkTarget.empty() ? Resolve(folder) : node->linkTarget;
    std::vector<FolderEntry> entries;
    for (const auto& [k, n] : nodes_) {
        if (k != key && Parent(k) == key) {
            entries.push_back({n.name, n.attributes == 0 ? attr::kNormal : n.attributes});
        }
    }
    return entries;
}

std::optional<std::uint32_t> FakeFileSystem::Attributes(const std::string& path) {
    const Node* node = Find(path);
    if (node == nullptr) {
        return std::nullopt;
    }
    return node->attributes == 0 ? attr::kNormal : node->attributes;
}

bool FakeFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    Node* node = Find(path);
    if (node == nullptr) {
        return false;
    }
    node->attributes = (node->attributes & kKeptBits) | (attributes & ~(kKeptBits | attr::kNormal));
    return true;
}

bool FakeFileSystem::FindsNormalFile(const std::string& path) {
    const Node* node = Find(path);
    return node != nullptr &&
           (node->attributes & (attr::kDirectory | attr::kHidden | attr::kSystem)) == 0;
}

bool FakeFileSystem::RemoveFile(const std::string& path) {
    touched.push_back(Key(path));
    const std::string key = Resolve(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end() || (it->second.attributes & (attr::kDirectory | attr::kReadOnly)) != 0 ||
        IsLocked(key)) {
        return false;
    }
    nodes_.erase(it);
    Removed(key);
    return true;
}

bool FakeFileSystem::RemoveFolder(const std::string& path) {
    const std::string key = Resolve(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end() || (it->second.attributes & attr::kDirectory) == 0 || key.size() <= 3) {
        return false;
    }
    if (it->second.linkTarget.empty()) {
        for (const auto& [k, n] : nodes_) {
            if (Parent(k) == key) {
                return false;  // not empty
            }
        }
    }
    nodes_.erase(it);
    Removed(key);
    return true;
}

std::optional<std::uint64_t> FakeFileSystem::FileLength(const std::string& path) {
    const auto bytes = Bytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    return bytes->size();
}

std::unique_ptr<IOverwriteFile> FakeFileSystem::OpenForOverwrite(const std::string& path) {
    const std::string key = Resolve(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end() || (it->second.attributes & attr::kDirectory) != 0 ||
        locked_.count(key) != 0) {
        return nullptr;
    }
    return std::make_unique<FakeOverwriteFile>(*this, key);
}

bool FakeFileSystem::Move(const std::string& from, const std::string& to) {
    const std::string source = Resolve(from);
    const std::string target = Resolve(to);
    const auto it = nodes_.find(source);
    if (it == nodes_.end() || nodes_.count(target) != 0 || nodes_.count(Parent(target)) == 0 ||
        IsLocked(source)) {
        return false;
    }
    Node node = it->second;
    node.name = to.substr(to.rfind('\\') + 1);
    nodes_.erase(it);
    nodes_[target] = node;
    return true;
}

bool FakeFileSystem::ForceDelete(const std::string& path) {
    const std::string key = Resolve(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end() || (it->second.attributes & attr::kDirectory) != 0 || IsLocked(key)) {
        return false;
    }
    nodes_.erase(it);
    Removed(key);
    return true;
}

}  // namespace kestrum::fakes

namespace kestrum::fakes {

bool FakeFileSystem::IsSameFolder(const std::string& first, const std::string& second) {
    // A folder opened through a link is the folder it leads to.
    const auto open = [this](const std::string& path) {
        const Node* node = Find(path);
        return node != nullptr && !node->linkTarget.empty() ? Find(node->linkTarget) : node;
    };
    const Node* a = open(first);
    return a != nullptr && (a->attributes & attr::kDirectory) != 0 && a == open(second);
}

}  // namespace kestrum::fakes
