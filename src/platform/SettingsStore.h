#pragma once

#include <optional>
#include <string>

namespace kestrum {

// Per-user store of text values, addressed by application, section and value name.
class ISettingsStore {
  public:
    virtual ~ISettingsStore() = default;

    // Nothing when the value is absent, unreadable or not text, so that callers apply their
    // defaults. A stored text ends at its first NUL, whether or not another follows.
    virtual std::optional<std::string> Read(const std::string& application,
                                            const std::string& section,
                                            const std::string& name) = 0;
    // Creates the section as needed; false when the value could not be stored.
    virtual bool Write(const std::string& application, const std::string& section,
                       const std::string& name, const std::string& value) = 0;
};

}  // namespace kestrum
