#include "fakes/FakeSystem.h"

namespace kestrum::fakes {

namespace {
// The platform writes nothing when the text and its NUL do not fit.
std::optional<std::string> IfFits(const std::string& text, std::size_t bufferChars) {
    if (text.size() + 1 > bufferChars) {
        return std::nullopt;
    }
    return text;
}
}  // namespace

bool FakeSystemInfo::QueryVersion(VersionRecord& record) {
    lastVersionRecordSize = record.recordSize;
    if (versionQueryFails || record.recordSize != kAnsiVersionRecordSize) {
        return false;
    }
    record.platformId = platformId;
    record.buildNumber = buildNumber;
    record.majorVersion = platformId == kPlatformWin32Nt ? 5 : 4;
    return true;
}

std::optional<std::string> FakeSystemInfo::UserName(std::size_t bufferChars) {
    return IfFits(userName, bufferChars);
}
std::optional<std::string> FakeSystemInfo::WindowsDirectory(std::size_t bufferChars) {
    return IfFits(windowsDirectory, bufferChars);
}
std::optional<std::string> FakeSystemInfo::SystemDirectory(std::size_t bufferChars) {
    return IfFits(systemDirectory, bufferChars);
}
std::optional<std::string> FakeSystemInfo::TempDirectory(std::size_t bufferChars) {
    return IfFits(tempDirectory, bufferChars);
}

bool FakeSystemInfo::RegisterServiceProcess(std::uint32_t processIdentifier, std::uint32_t type) {
    if (!hasRegisterServiceProcess || processIdentifier != processId) {
        return false;
    }
    registeredType = type;
    ++registerCalls;
    return true;
}

std::optional<std::string> FakeSettingsStore::Read(const std::string& application,
                                                   const std::string& section,
                                                   const std::string& name) {
    const auto it = values.find(Key(application, section, name));
    if (it == values.end()) {
        return std::nullopt;
    }
    // Stored text ends at its first NUL, as the system's does.
    return it->second.substr(0, it->second.find('\0'));
}

bool FakeSettingsStore::Write(const std::string& application, const std::string& section,
                              const std::string& name, const std::string& value) {
    if (failWrites) {
        return false;
    }
    values[Key(application, section, name)] = value;
    return true;
}

}  // namespace kestrum::fakes
