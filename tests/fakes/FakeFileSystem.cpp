#include "fakes/FakeFileSystem.h"

#include <algorithm>
#include <cstring>

#include "common/Text.h"

namespace kestrum::fakes {

static bool IsFolder(std::uint32_t attributes) {
    return (attributes & attr::kDirectory) != 0;
}

// The file stays in place while it is open, as the system's sharing rules see to.
class FakeOverwriteFile final : public IOverwriteFile {
  public:
    FakeOverwriteFile(FakeFileSystem& fs, std::string key) : fs_(fs), key_(std::move(key)) {}
    bool Write(std::uint64_t offset, const unsigned char* data, std::size_t size) override {
        std::string& bytes = fs_.nodes_.at(key_).bytes;  // throws once the file has gone meanwhile
        const bool fits = offset + size <= bytes.size();
        fs_.largestWrite = std::max(fs_.largestWrite, fits ? size : 0);
        if (fits) {
            std::memcpy(bytes.data() + offset, data, size);
            for (auto* name : fs_.NamesOf(key_)) {
                name->bytes = bytes;
            }
        }
        return fits;
    }
    std::uint32_t LinkCount() override {
        return static_cast<std::uint32_t>(fs_.NamesOf(key_).size());
    }
    bool Flush() override {
        fs_.flushedPasses.emplace_back(key_, fs_.nodes_.at(key_).bytes);
        return true;
    }

  private:
    FakeFileSystem& fs_;
    std::string key_;
};

std::string FakeFileSystem::Key(const std::string& path) {
    const std::string key =
        ToLowerAscii(path);  // without trailing separators, but for a drive root's
    return key.substr(0, std::max<std::size_t>(key.find_last_not_of('\\') + 1, 3));
}

std::string FakeFileSystem::Parent(const std::string& key) {
    const std::size_t slash = key.rfind('\\');
    return slash == std::string::npos || key.size() <= 3 ? std::string()
                                                         : key.substr(0, slash == 2 ? 3 : slash);
}

std::string FakeFileSystem::Resolve(const std::string& path) const {
    // A path without a drive or share is relative to the current directory (or to its drive).
    std::string key = Key(path);
    if (!key.empty() && key.rfind("\\\\", 0) != 0 && (key.size() < 2 || key[1] != ':')) {
        key = Key(key[0] == '\\' ? current_.substr(0, 2) + key : current_ + "\\" + key);
    }
    if (key.size() <= 3) {
        return key;
    }
    const std::string parent = Resolve(Parent(key));
    const auto it = nodes_.find(parent);
    const std::string folder =
        it != nodes_.end() && !it->second.linkTarget.empty() ? it->second.linkTarget : parent;
    return folder + (folder.size() == 3 ? "" : "\\") + key.substr(key.rfind('\\') + 1);
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) {
    const auto it =
        path.find('\0') == std::string::npos ? nodes_.find(Resolve(path)) : nodes_.end();
    return it == nodes_.end() ? nullptr : &it->second;
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& bytes,
                             std::uint32_t attributes) {
    const std::string key = Key(path), parent = Parent(key);
    if (key.size() > 3 && nodes_.count(parent) == 0) {
        AddFolder(parent);
    }
    nodes_[key] = {
        path.substr(path.find_last_of('\\', path.size() - 2) + 1), attributes, bytes, {}};
}

std::optional<std::string> FakeFileSystem::ReadTextFile(const std::string& path) {
    const auto bytes = unreadable.count(Key(path)) == 0 ? Bytes(path) : std::nullopt;
    // Latin-1 to UTF-8: every byte is a character, as in a single-byte code page.
    std::string text;
    for (unsigned char c : bytes.value_or("")) {
        text += c < 0x80 ? std::string(1, static_cast<char>(c))
                         : std::string{static_cast<char>(0xC0 | (c >> 6)),
                                       static_cast<char>(0x80 | (c & 0x3F))};
    }
    return bytes ? std::optional(text) : std::nullopt;
}

bool FakeFileSystem::WriteTextFile(const std::string& path, const std::string& text) {
    if (Find(Parent(Key(path))) == nullptr || (Exists(path) && !Bytes(path))) {  // a folder
        return false;
    }
    std::string bytes;  // UTF-8 to Latin-1; characters outside it become "?" as the system's
                        // conversion does
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80 || (c >= 0xC0 && c <= 0xC3 && i + 1 < text.size())) {
            bytes += static_cast<char>(
                c < 0x80 ? c : ((c & 3) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
        } else if ((c & 0xC0) != 0x80) {
            bytes += '?';  // the first byte of a character outside Latin-1
        }
    }
    AddFile(path, bytes);
    return true;
}

std::optional<std::vector<FolderEntry>> FakeFileSystem::ListFolder(const std::string& folder) {
    touched.push_back(Key(folder));
    calls.emplace_back("ListFolder", folder);
    const Node* node = Find(folder);
    const std::string key = node == nullptr            ? ""
                            : node->linkTarget.empty() ? Resolve(folder)
                                                       : node->linkTarget;
    std::vector<FolderEntry> entries;
    for (const auto& [k, n] : nodes_) {
        if (k != key && Parent(k) == key) {
            entries.push_back({n.name, Shown(n.attributes)});
        }
    }
    return node != nullptr && IsFolder(node->attributes) ? std::optional(entries) : std::nullopt;
}

bool FakeFileSystem::Erase(const std::string& path, bool folder, bool force) {
    const std::string key = Resolve(path);
    const auto it = nodes_.find(key);
    const auto inside = [&](const auto& entry) { return Parent(entry.first) == key; };
    if (it == nodes_.end() || IsFolder(it->second.attributes) != folder || key.size() <= 3 ||
        (folder ? it->second.linkTarget.empty() && std::any_of(nodes_.begin(), nodes_.end(), inside)
                : (!force && (it->second.attributes & attr::kReadOnly) != 0) ||
                      locks_.count(key) != 0)) {
        return false;
    }
    nodes_.erase(it);
    onRemoved(key);
    return true;
}

void FakeFileSystem::AddHardLink(const std::string& path, const std::string& existing) {
    Node& data = nodes_.at(Resolve(existing));
    if (data.sharedData == 0) {
        data.sharedData = static_cast<int>(nodes_.size());
    }
    const int shared = data.sharedData;
    AddFile(path, data.bytes, data.attributes);
    nodes_.at(Resolve(path)).sharedData = shared;
}

std::vector<FakeFileSystem::Node*> FakeFileSystem::NamesOf(const std::string& key) {
    Node& node = nodes_.at(key);
    std::vector<Node*> names{&node};
    for (auto& [other, n] : nodes_) {
        if (other != key && node.sharedData != 0 && n.sharedData == node.sharedData) {
            names.push_back(&n);
        }
    }
    return names;
}

std::vector<DriveInfo> FakeFileSystem::Drives() {
    std::vector<DriveInfo> drives;
    for (const auto& [key, node] : nodes_) {
        if (key.size() == 3 && key[1] == ':') {
            const char letter = static_cast<char>(key[0] - 'a' + 'A');
            const auto described = drives_.find(letter);
            drives.push_back(described != drives_.end()
                                 ? described->second
                                 : DriveInfo{letter, DriveType::Fixed, {}, {}});
        }
    }
    return drives;
}

std::unique_ptr<IOverwriteFile> FakeFileSystem::OpenForOverwrite(const std::string& path) {
    return Bytes(path) ? std::make_unique<FakeOverwriteFile>(*this, Resolve(path)) : nullptr;
}

bool FakeFileSystem::Move(const std::string& from, const std::string& to) {
    const std::string source = Resolve(from), target = Resolve(to);
    const auto it = nodes_.find(source);
    if (it == nodes_.end() || nodes_.count(target) != 0 || nodes_.count(Parent(target)) == 0 ||
        locks_.count(source)) {
        return false;
    }
    nodes_[target] = Node{to.substr(to.rfind('\\') + 1), it->second.attributes, it->second.bytes,
                          it->second.linkTarget, it->second.sharedData};
    nodes_.erase(source);
    return true;
}

bool FakeFileSystem::IsSameFolder(const std::string& first, const std::string& second) {
    // A folder opened through a link is the folder it leads to.
    const auto open = [this](const std::string& path) {
        const Node* node = Find(path);
        return node != nullptr && !node->linkTarget.empty() ? Find(node->linkTarget) : node;
    };
    return open(first) && IsFolder(open(first)->attributes) && open(first) == open(second);
}

}  // namespace kestrum::fakes
