#include "fakes/FakeSystem.h"

namespace kestrum::fakes {

namespace {
// An empty text stands for a folder the system cannot give.
std::optional<std::string> Given(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}
}  // namespace

std::optional<WindowsVersion> FakeSystemInfo::Version() {
    if (versionQueryFails) {
        return std::nullopt;
    }
    return WindowsVersion{isNt, isNt ? buildNumber : 0};
}

std::optional<std::string> FakeSystemInfo::UserName() {
    return userName.size() < 80 ? Given(userName) : std::nullopt;
}
std::optional<std::string> FakeSystemInfo::WindowsDirectory() { return Given(windowsDirectory); }
std::optional<std::string> FakeSystemInfo::SystemDirectory() { return Given(systemDirectory); }
std::optional<std::string> FakeSystemInfo::TempDirectory() { return Given(tempDirectory); }

bool FakeSystemInfo::RegisterServiceProcess(bool registeredNow) {
    if (!hasRegisterServiceProcess) {
        return false;
    }
    registered = registeredNow;
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
