#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/SettingsStore.h"

namespace kestrum::fakes {

// Values keyed by "application\section\name"; a test leaves out a value of another type.
class FakeSettingsStore final : public ISettingsStore {
  public:
    std::map<std::string, std::string> values;
    bool failWrites = false;

    void Put(const std::string& name, const std::string& value) {
        values["Kestrum\\Settings\\" + name] = value;
    }
    std::optional<std::string> Read(const std::string& application, const std::string& section,
                                    const std::string& name) override {
        const auto it = values.find(application + "\\" + section + "\\" + name);
        // Stored text ends at its first NUL, as the system's does.
        return it == values.end() ? std::nullopt
                                  : std::optional(it->second.substr(0, it->second.find('\0')));
    }
    bool Write(const std::string& application, const std::string& section, const std::string& name,
               const std::string& value) override {
        if (!failWrites) {
            values[application + "\\" + section + "\\" + name] = value;
        }
        return !failWrites;
    }
};

}  // namespace kestrum::fakes
