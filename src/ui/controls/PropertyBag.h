#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace kestrum {

// A user control's design-time settings as its window stores them: read with a default, and a
// value equal to its default is not written, so the stored description holds only what differs.
class PropertyBag {
  public:
    using Value = std::variant<bool, std::int64_t, std::string>;

    template <typename T>
    T Read(const std::string& name, const T& defaultValue) const {
        const auto it = values_.find(name);
        if (it != values_.end()) {
            if (const T* value = std::get_if<T>(&it->second)) {
                return *value;
            }
        }
        return defaultValue;
    }
    template <typename T>
    void Write(const std::string& name, const T& value, const T& defaultValue) {
        if (value == defaultValue) {
            values_.erase(name);
        } else {
            values_[name] = Value(value);
        }
    }
    bool Has(const std::string& name) const { return values_.count(name) != 0; }

  private:
    std::map<std::string, Value> values_;
};

}  // namespace kestrum
