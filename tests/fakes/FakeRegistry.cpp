#include "fakes/FakeRegistry.h"

#include <algorithm>
#include <cstdio>

#include "common/Text.h"

namespace kestrum::fakes {

namespace {

bool SameName(const std::string& a, const std::string& b) { return ToLowerAscii(a) == ToLowerAscii(b); }

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size() && !path.empty()) {
        const std::size_t end = path.find('\\', start);
        parts.push_back(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return parts;
}

std::string HiveText(RegistryHive hive) {
    char text[16];
    std::snprintf(text, sizeof(text), "%08X", static_cast<unsigned>(hive));
    return text;
}

// A handle that finds its key afresh on every call, so a key deleted meanwhile fails cleanly.
class FakeKeyHandle final : public IRegistryKey {
public:
    FakeKeyHandle(FakeRegistry& registry, RegistryHive hive, std::string path, bool writable)
        : registry_(registry), hive_(hive), path_(std::move(path)), writable_(writable) {
        ++registry_.openKeys;
    }
    ~FakeKeyHandle() override { --registry_.openKeys; }
    FakeKeyHandle(const FakeKeyHandle&) = delete;
    FakeKeyHandle& operator=(const FakeKeyHandle&) = delete;

    std::optional<RegistryValueInfo> QueryValueInfo(const std::string& name) override {
        const FakeRegistryValue* value = Value(name);
        if (value == nullptr) {
            return std::nullopt;
        }
        const bool text = value->type == regtype::kText || value->type == regtype::kExpandText;
        return RegistryValueInfo{value->type,
                                 static_cast<std::uint32_t>(text ? value->text.size() : 4)};
    }
    std::optional<std::string> ReadText(const std::string& name) override {
        const FakeRegistryValue* value = Value(name);
        if (value == nullptr || value->unreadable ||
            (value->type != regtype::kText && value->type != regtype::kExpandText)) {
            return std::nullopt;
        }
        return value->text;
    }
    std::optional<std::int32_t> ReadNumber(const std::string& name) override {
        const FakeRegistryValue* value = Value(name);
        if (value == nullptr || value->unreadable || value->type != regtype::kNumber) {
            return std::nullopt;
        }
        return value->number;
    }
    bool WriteText(const std::string& name, std::uint32_t type, const std::string& text) override {
        FakeRegistryValue* value = Writable(name);
        if (value == nullptr) {
            return false;
        }
        *value = FakeRegistryValue{value->name, type, text + '\0', 0, false};
        return true;
    }
    bool WriteNumber(const std::string& name, std::int32_t number) override {
        FakeRegistryValue* value = Writable(name);
        if (value == nullptr) {
            return false;
        }
        *value = FakeRegistryValue{value->name, regtype::kNumber, std::string(), number, false};
        return true;
    }
    bool DeleteValue(const std::string& name) override {
        FakeRegistryKey* key = writable_ ? Key() : nullptr;
        if (key == nullptr) {
            return false;
        }
        auto& values = key->values;
        const auto it = std::find_if(values.begin(), values.end(),
                                     [&](const FakeRegistryValue& v) { return SameName(v.name, name); });
        if (it == values.end()) {
            return false;
        }
        values.erase(it);
        return true;
    }
    bool DeleteSubkey(const std::string& name) override {
        FakeRegistryKey* key = writable_ ? Key() : nullptr;
        if (key == nullptr || name.empty()) {
            return false;
        }
        auto& subkeys = key->subkeys;
        const auto it = std::find_if(subkeys.begin(), subkeys.end(),
                                     [&](const auto& k) { return SameName(k->name, name); });
        if (it == subkeys.end() || !(*it)->subkeys.empty()) {
            return false;
        }
        subkeys.erase(it);
        return true;
    }
    std::optional<std::string> SubkeyName(std::uint32_t index, std::size_t bufferChars) override {
        FakeRegistryKey* key = Key();
        if (key == nullptr || index >= key->subkeys.size() ||
            key->subkeys[index]->name.size() + 1 > bufferChars) {
            return std::nullopt;
        }
        return key->subkeys[index]->name;
    }
    std::optional<std::string> ValueName(std::uint32_t index, std::size_t bufferChars) override {
        FakeRegistryKey* key = Key();
        if (key == nullptr || index >= key->values.size() ||
            key->values[index].name.size() + 1 > bufferChars) {
            return std::nullopt;
        }
        return key->values[index].name;
    }

private:
    FakeRegistryKey* Key() { return registry_.Find(hive_, path_); }
    FakeRegistryValue* Value(const std::string& name) {
        FakeRegistryKey* key = Key();
        return key != nullptr ? key->FindValue(name) : nullptr;
    }
    // The value to overwrite, made when missing; nothing on a key opened for reading.
    FakeRegistryValue* Writable(const std::string& name) {
        FakeRegistryKey* key = writable_ ? Key() : nullptr;
        if (key == nullptr) {
            return nullptr;
        }
        if (FakeRegistryValue* value = key->FindValue(name)) {
            return value;
        }
        key->values.push_back(FakeRegistryValue{name, regtype::kText, std::string(), 0, false});
        return &key->values.back();
    }

    FakeRegistry& registry_;
    RegistryHive hive_;
    std::string path_;
    bool writable_;
};

}  // namespace

FakeRegistryValue* FakeRegistryKey::FindValue(const std::string& valueName) {
    for (auto& value : values) {
        if (SameName(value.name, valueName)) {
            return &value;
        }
    }
    return nullptr;
}

FakeRegistryKey* FakeRegistryKey::FindSubkey(const std::string& subkeyName) {
    for (auto& key : subkeys) {
        if (SameName(key->name, subkeyName)) {
            return key.get();
        }
    }
    return nullptr;
}

FakeRegistryKey& FakeRegistry::Key(RegistryHive hive, const std::string& path) {
    FakeRegistryKey* key = &hives_[hive];
    for (const std::string& part : Components(path)) {
        FakeRegistryKey* next = key->FindSubkey(part);
        if (next == nullptr) {
            key->subkeys.push_back(std::make_unique<FakeRegistryKey>());
            next = key->subkeys.back().get();
            next->name = part;
        }
        key = next;
    }
    return *key;
}

FakeRegistryKey* FakeRegistry::Find(RegistryHive hive, const std::string& path) {
    FakeRegistryKey* key = &hives_[hive];
    for (const std::string& part : Components(path)) {
        key = part.empty() ? nullptr : key->FindSubkey(part);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

void FakeRegistry::Store(RegistryHive hive, const std::string& path, const FakeRegistryValue& value) {
    FakeRegistryKey& key = Key(hive, path);
    if (FakeRegistryValue* existing = key.FindValue(value.name)) {
        *existing = value;
    } else {
        key.values.push_back(value);
    }
}

void FakeRegistry::SetText(RegistryHive hive, const std::string& path, const std::string& name,
                           const std::string& text, std::uint32_t type) {
    Store(hive, path, FakeRegistryValue{name, type, text + '\0', 0, false});
}

void FakeRegistry::SetNumber(RegistryHive hive, const std::string& path, const std::string& name,
                             std::int32_t number) {
    Store(hive, path, FakeRegistryValue{name, regtype::kNumber, std::string(), number, false});
}

void FakeRegistry::SetBinary(RegistryHive hive, const std::string& path, const std::string& name) {
    Store(hive, path, FakeRegistryValue{name, regtype::kBinary, "\x01\x02", 0, false});
}

std::optional<std::string> FakeRegistry::Text(RegistryHive hive, const std::string& path,
                                              const std::string& name) {
    FakeRegistryKey* key = Find(hive, path);
    FakeRegistryValue* value = key != nullptr ? key->FindValue(name) : nullptr;
    if (value == nullptr) {
        return std::nullopt;
    }
    return value->type == regtype::kNumber ? std::to_string(value->number) : value->text;
}

std::vector<std::string> FakeRegistry::ValueNames(RegistryHive hive, const std::string& path) {
    std::vector<std::string> names;
    if (FakeRegistryKey* key = Find(hive, path)) {
        for (const auto& value : key->values) {
            names.push_back(value.name);
        }
    }
    return names;
}

std::vector<std::string> FakeRegistry::SubkeyNames(RegistryHive hive, const std::string& path) {
    std::vector<std::string> names;
    if (FakeRegistryKey* key = Find(hive, path)) {
        for (const auto& subkey : key->subkeys) {
            names.push_back(subkey->name);
        }
    }
    return names;
}

std::unique_ptr<IRegistryKey> FakeRegistry::Open(RegistryHive hive, const std::string& path,
                                                 RegistryAccess access) {
    if (onOpen) {
        onOpen(hive, path);
    }
    const bool full = access == RegistryAccess::Full;
    opened.push_back(HiveText(hive) + "|" + path + (full ? "|full" : "|read"));
    FakeRegistryKey* key = Find(hive, path);
    if (key == nullptr || (full && key->readOnly)) {
        return nullptr;
    }
    return std::make_unique<FakeKeyHandle>(*this, hive, path, full);
}

}  // namespace kestrum::fakes
