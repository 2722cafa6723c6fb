#pragma once

#include <string>

#include "platform/SettingsStore.h"

namespace kestrum {

inline constexpr char kSettingsApplication[] = "Kestrum";
inline constexpr char kSettingsSection[] = "Settings";

// The four stored values, each with its default when absent.
struct StoredSettings {
    std::string GeneralOptions;
    std::string DeleteOptions;
    bool ShowSplash = true;
    std::string Defined;
};

std::string ReadGeneralOptions(ISettingsStore& store);
std::string ReadDeleteOptions(ISettingsStore& store);
StoredSettings ReadSettings(ISettingsStore& store);
// Writes all four values as text; false when any of them could not be stored.
bool SaveSettings(ISettingsStore& store, const StoredSettings& settings);

}  // namespace kestrum
