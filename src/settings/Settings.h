#pragma once

#include <string>

#include "platform/SettingsStore.h"

namespace kestrum {

inline constexpr char kSettingsApplication[] = "Kestrum";
inline constexpr char kSettingsSection[] = "Settings";

// The four stored values.
struct StoredSettings {
    std::string GeneralOptions;
    std::string DeleteOptions;
    bool ShowSplash = true;
    std::string Defined;
};

// Each with its default when absent.
std::string ReadGeneralOptions(ISettingsStore& store);
std::string ReadDeleteOptions(ISettingsStore& store);
// The splash is chosen when the stored text's number is 1, or nothing is stored; text that is no
// number is not 1.
bool ReadShowSplash(ISettingsStore& store);
// The options have been saved at least once.
bool ReadDefined(ISettingsStore& store);
// Writes all four values as text, in the order the options window saves them: ShowSplash,
// GeneralOptions, DeleteOptions, Defined. False when any of them could not be stored; the later
// ones are written all the same.
bool SaveSettings(ISettingsStore& store, const StoredSettings& settings);

}  // namespace kestrum
