#include "fakes/FakeFileSystem.h"

#include "common/Text.h"

namespace kestrum::fakes {

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

void FakeFileSystem::AddFolder(const std::string& path) {
    std::string key = Key(path);
    // Every parent folder exists too.
    for (std::size_t pos = key.find('\\'); pos != std::string::npos; pos = key.find('\\', pos + 1)) {
        folders_.insert(key.substr(0, pos == 2 ? 3 : pos));
    }
    folders_.insert(key);
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& bytes) {
    const std::string key = Key(path);
    const std::size_t slash = key.rfind('\\');
    if (slash != std::string::npos) {
        AddFolder(key.substr(0, slash == 2 ? 3 : slash));
    }
    files_[key] = bytes;
}

std::optional<std::string> FakeFileSystem::Bytes(const std::string& path) const {
    const auto it = files_.find(Key(path));
    if (it == files_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void FakeFileSystem::AddDrive(const std::string& drive) {
    drives_.insert(ToLowerAscii(drive));
    folders_.insert(ToLowerAscii(drive) + "\\");
}

bool FakeFileSystem::FileExists(const std::string& path) {
    return path.find('\0') == std::string::npos && files_.count(Key(path)) != 0;
}

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
    const std::size_t slash = key.rfind('\\');
    if (slash == std::string::npos || folders_.count(key.substr(0, slash == 2 ? 3 : slash)) == 0 ||
        folders_.count(key) != 0) {
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
    files_[key] = bytes;
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
    if (path.find('\0') != std::string::npos || folders_.count(Key(path)) == 0) {
        return false;
    }
    current_ = path;
    if (current_.size() > 3 && current_.back() == '\\') {
        current_.pop_back();
    }
    return true;
}

}  // namespace kestrum::fakes
