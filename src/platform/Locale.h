#pragma once

#include <cstdint>
#include <string>

namespace kestrum {

// The user's language and number settings.
class ILocale {
  public:
    virtual ~ILocale() = default;
    // Negative, zero or positive as a sorts before, with or after b, ignoring case, in the order
    // the user's language gives names.
    virtual int CompareNames(const std::string& a, const std::string& b) = 0;
    // A whole number with the user's thousands separator: 1,204 in English.
    virtual std::string FormatCount(std::uint64_t count) = 0;
};

}  // namespace kestrum
