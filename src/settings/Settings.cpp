#include "settings/Settings.h"

#include "settings/OptionFlags.h"

namespace kestrum {

namespace {

std::string ReadOr(ISettingsStore& store, const char* name, const std::string& fallback) {
    return store.Read(kSettingsApplication, kSettingsSection, name).value_or(fallback);
}

}  // namespace

std::string ReadGeneralOptions(ISettingsStore& store) {
    return ReadOr(store, "GeneralOptions", kDefaultGeneralOptions);
}

std::string ReadDeleteOptions(ISettingsStore& store) {
    return ReadOr(store, "DeleteOptions", kDefaultDeleteOptions);
}

bool ReadShowSplash(ISettingsStore& store) {
    const std::string text = ReadOr(store, "ShowSplash", "1");
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos) {
        return false;
    }
    // The number's leading zeros say nothing; what follows must be the digit 1 alone.
    while (at + 1 < text.size() && text[at] == '0') {
        ++at;
    }
    return text.substr(at) == "1";
}

bool ReadDefined(ISettingsStore& store) {
    return ReadOr(store, "Defined", "No") == "Yes";
}

bool SaveSettings(ISettingsStore& store, const StoredSettings& settings) {
    bool ok = true;
    for (const auto& [name, value] :
         {std::pair<const char*, std::string>{"ShowSplash", settings.ShowSplash ? "1" : "0"},
          {"GeneralOptions", settings.GeneralOptions},
          {"DeleteOptions", settings.DeleteOptions},
          {"Defined", settings.Defined}}) {
        ok = store.Write(kSettingsApplication, kSettingsSection, name, value) && ok;
    }
    return ok;
}

}  // namespace kestrum
