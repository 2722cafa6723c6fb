#include "registry/RegistryModule.h"

#include <charconv>
#include <limits>

namespace kestrum {

namespace {

// Listing buffers, in characters.
constexpr std::size_t kNameBufferChars = 2000;

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string ToText(const RegistryData& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    return std::to_string(std::get<std::int64_t>(value));
}

// A number as a 32-bit value; nothing for a text that is no number or one out of range.
std::optional<std::int32_t> ToNumber(const RegistryData& value) {
    std::int64_t number = 0;
    if (const auto* text = std::get_if<std::string>(&value)) {
        const std::string digits = Trimmed(*text);
        const char* end = digits.data() + digits.size();
        const auto [rest, error] = std::from_chars(digits.data(), end, number);
        if (digits.empty() || error != std::errc() || rest != end) {
            return std::nullopt;
        }
    } else {
        number = std::get<std::int64_t>(value);
    }
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(number);
}

template <typename NameAt>
std::vector<std::string> ReadNames(NameAt nameAt) {
    std::vector<std::string> names;
    for (std::uint32_t index = 0;; ++index) {
        std::optional<std::string> name = nameAt(index);
        if (!name) {
            break;
        }
        names.push_back(Trimmed(*name));
    }
    if (names.empty()) {
        names.emplace_back(kRegistryError);
    }
    return names;
}

std::string Outcome(bool ok) {
    return ok ? kRegistrySuccess : kRegistryError;
}

}  // namespace

bool IsRegistryError(const RegistryRead& result) {
    const auto* text = std::get_if<std::string>(&result);
    return text != nullptr && *text == kRegistryError;
}

bool IsRegistryError(const std::vector<std::string>& list) {
    return list.size() == 1 && list.front() == kRegistryError;
}

std::string WithoutTerminator(const std::string& text) {
    // Only a stored NUL goes: a value some other program wrote without one keeps its last letter.
    if (!text.empty() && text.back() == '\0') {
        return text.substr(0, text.size() - 1);
    }
    return text;
}

std::unique_ptr<IRegistryKey> RegistryModule::Open(RegistryHive hive, const std::string& path,
                                                   RegistryAccess access) {
    auto key = registry_.Open(hive, path, access, links_);
    if (key && key->IsLink()) {
        return nullptr;
    }
    return key;
}

RegistryRead RegistryModule::GetRegistryValue(RegistryHive hive, const std::string& path,
                                              const std::string& name) {
    auto key = Open(hive, path, RegistryAccess::Full);
    if (!key) {
        return std::string(kRegistryError);
    }
    const auto info = key->QueryValueInfo(name);
    if (!info) {
        return std::string(kRegistryError);
    }
    if (info->type == regtype::kText) {
        if (auto text = key->ReadText(name)) {
            return *std::move(text);
        }
        return std::monostate{};
    }
    if (info->type == regtype::kNumber) {
        if (auto number = key->ReadNumber(name)) {
            return *number;
        }
    }
    return std::monostate{};
}

std::string RegistryModule::SetRegistryValue(RegistryHive hive, const std::string& path,
                                             const std::string& name, std::uint16_t type,
                                             const RegistryData& value) {
    auto key = Open(hive, path, RegistryAccess::Full);
    if (!key) {
        return kRegistryError;
    }
    switch (type) {
        case regtype::kText:
        case regtype::kExpandText:
            return Outcome(key->WriteText(name, type, ToText(value)));
        case regtype::kNumber:
            if (const auto number = ToNumber(value)) {
                return Outcome(key->WriteNumber(name, *number));
            }
            return kRegistryError;
        default:
            // No caller stores another type; writing nothing is the safe answer.
            return kRegistryError;
    }
}

std::string RegistryModule::DeleteRegistryValue(RegistryHive hive, const std::string& path,
                                                const std::string& name) {
    auto key = Open(hive, path, RegistryAccess::Full);
    return Outcome(key && key->DeleteValue(name));
}

std::string RegistryModule::DeleteRegistryKey(RegistryHive hive, const std::string& parentPath,
                                              const std::string& name) {
    auto key = Open(hive, parentPath, RegistryAccess::Full);
    return Outcome(key && key->DeleteSubkey(name));
}

std::vector<std::string> RegistryModule::EnumRegistryKeys(RegistryHive hive,
                                                          const std::string& path) {
    auto key = Open(hive, path, RegistryAccess::Read);
    if (!key) {
        return {kRegistryError};
    }
    return ReadNames([&](std::uint32_t index) { return key->SubkeyName(index, kNameBufferChars); });
}

std::vector<std::string> RegistryModule::EnumRegistryValues(RegistryHive hive,
                                                            const std::string& path) {
    auto key = Open(hive, path, RegistryAccess::Read);
    if (!key) {
        return {kRegistryError};
    }
    return ReadNames([&](std::uint32_t index) { return key->ValueName(index, kNameBufferChars); });
}

}  // namespace kestrum
