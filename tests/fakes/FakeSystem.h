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

    static std::string Key(const std::string& application, const std::string& section,
                           const std::string& name) {
        return application + "\\" + section + "\\" + name;
    }
    void Put(const std::string& name, const std::string& value) {
        values[Key("Kestrum", "Settings", name)] = value;
    }

    std::optional<std::string> Read(const std::string& application, const std::string& section,
                                    const std::string& name) override;
    bool Write(const std::string& application, const std::string& section, const std::string& name,
               const std::string& value) override;
};

}  // namespace kestrum::fakes
