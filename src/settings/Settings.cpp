#include "settings/Settings.h"

#include "settings/OptionFlags.h"

namespace kestrum {

namespace {

std::string ReadOr(ISettingsStore& store, const char* name, const std::string& fallback) {
    return store.Read(kSettingsApplication, kSettingsSection, name).value_or(fallback);
}

// The splash choice is stored as a number; text that is not one keeps the default.
bool ReadSplashChoice(ISettingsStore& store) {
    const auto stored = store.Read(kSettingsApplication, kSettingsSection, "ShowSplash");
    if (!stored || stored->empty()) {
        return true;
    }
    bool anyNonZero = false;
    for (char c : *stored) {
        if (c < '0' || c > '9') {
            return true;
        }
        anyNonZero = anyNonZero || c != '0';
    }
    return anyNonZero;
}

}  // namespace

std::string ReadGeneralOptions(ISettingsStore& store) {
    return ReadOr(store, "GeneralOptions", kDefaultGeneralOptions);
}

std::string ReadDeleteOptions(ISettingsStore& store) {
    return ReadOr(store, "DeleteOptions", kDefaultDeleteOptions);
}

StoredSettings ReadSettings(ISettingsStore& store) {
    StoredSettings settings;
    settings.GeneralOptions = ReadGeneralOptions(store);
    settings.DeleteOptions = ReadDeleteOptions(store);
    settings.ShowSplash = ReadSplashChoice(store);
    settings.Defined = ReadOr(store, "Defined", "No");
    return settings;
}

bool SaveSettings(ISettingsStore& store, const StoredSettings& settings) {
    bool ok = store.Write(kSettingsApplication, kSettingsSection, "GeneralOptions",
                          settings.GeneralOptions);
    ok = store.Write(kSettingsApplication, kSettingsSection, "DeleteOptions",
                     settings.DeleteOptions) &&
         ok;
    ok = store.Write(kSettingsApplication, kSettingsSection, "ShowSplash",
                     settings.ShowSplash ? "1" : "0") &&
         ok;
    ok = store.Write(kSettingsApplication, kSettingsSection, "Defined", settings.Defined) && ok;
    return ok;
}

}  // namespace kestrum
