#include "fakes/FakeSystem.h"

namespace kestrum::fakes {

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
    if (!failWrites) {
        values[Key(application, section, name)] = value;
    }
    return !failWrites;
}

}  // namespace kestrum::fakes
