#pragma once

#include <initializer_list>
#include <string>

namespace kestrum {

inline constexpr std::size_t kFlagStringLength = 20;
inline constexpr char kDefaultGeneralOptions[] = "11000000000000000000";
inline constexpr char kDefaultDeleteOptions[] = "11111100000000000000";
// No delete category chosen.
inline constexpr char kNoDeleteOptions[] = "00000000000000000000";

// Positions (1-based) in GeneralOptions.
namespace general {
inline constexpr std::size_t kRunAtStartup = 1;
inline constexpr std::size_t kDesktopShortcut = 2;
inline constexpr std::size_t kWipeFiles = 3;
inline constexpr std::size_t kCount = 3;
}  // namespace general

// Positions (1-based) in DeleteOptions.
namespace del {
inline constexpr std::size_t kHistory = 1;
inline constexpr std::size_t kCookies = 2;
inline constexpr std::size_t kRecent = 3;
inline constexpr std::size_t kTemporary = 4;
inline constexpr std::size_t kCache = 5;
inline constexpr std::size_t kRecycleBin = 6;
inline constexpr std::size_t kSelected = 7;
inline constexpr std::size_t kDnsCache = 8;
inline constexpr std::size_t kPrefetch = 9;
inline constexpr std::size_t kCount = 9;
}  // namespace del

struct RunFlags {
    bool DeleteHistory = false;
    bool DeleteCookies = false;
    bool DeleteRecent = false;
    bool DeleteTemporary = false;
    bool DeleteCache = false;
    bool ClearRecycleBin = false;
    bool DeleteSelected = false;
    bool ClearDnsCache = false;
    bool DeletePrefetch = false;
    bool WipeFiles = false;
};

// The check boxes' states in position order, then "0" up to the full length.
std::string BuildFlagString(std::initializer_list<bool> boxes);

// Converts position `position` (1-based) of `flags`: "0" clears the flag, any other digit sets
// it, and a missing position or a character that is not a digit leaves it as it was.
void ApplyFlag(const std::string& flags, std::size_t position, bool& flag);

// Recomputes the run flags from the two strings: DeleteOptions 1 to 9, then GeneralOptions 3.
void ParseRunFlags(const std::string& generalOptions, const std::string& deleteOptions,
                   RunFlags& flags);

}  // namespace kestrum
