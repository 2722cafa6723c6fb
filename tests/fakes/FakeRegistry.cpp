#include "fakes/FakeRegistry.h"

#include <algorithm>

#include "common/Text.h"

namespace kestrum::fakes {

namespace {

template <typename Items>
auto FindNamed(Items& items, const std::string& name) {
    return std::find_if(items.begin(), items.end(), [&](const auto& item) {
        return ToLowerAscii(item.name) == ToLowerAscii(name);
    });
}

bool IsText(std::uint32_t type) {
    return type == regtype::kText || type == regtype::kExpandText;
}
bool Childless(const FakeRegistryValue&) {
    return true;
}
bool Childless(const FakeRegistryKey& key) {
    return key.subkeys.empty();
}

// A handle that finds its key afresh on every call, so a key deleted meanwhile fails cleanly.
class FakeKeyHandle final : public IRegistryKey {
  public:
    FakeKeyHandle(FakeRegistry& registry, RegistryHive hive, std::string path, bool writable,
                  KeyLinks links)
        : registry_(registry),
          hive_(hive),
          path_(std::move(path)),
          writable_(writable),
          links_(links) {
        ++registry_.openKeys;
    }
    ~FakeKeyHandle() override { --registry_.openKeys; }

    std::optional<RegistryValueInfo> QueryValueInfo(const std::string& name) override {
        const FakeRegistryValue* v = Value(name, false);
        const auto size = static_cast<std::uint32_t>(v && IsText(v->type) ? v->text.size() : 4);
        return v == nullptr ? std::nullopt : std::optional(RegistryValueInfo{v->type, size});
    }
    std::optional<std::string> ReadText(const std::string& name) override {
        const FakeRegistryValue* v = Value(name, true);
        return v && IsText(v->type) ? std::optional(v->text) : std::nullopt;
    }
    std::optional<std::int32_t> ReadNumber(const std::string& name) override {
        const FakeRegistryValue* v = Value(name, true);
        return v && v->type == regtype::kNumber ? std::optional(v->number) : std::nullopt;
    }
    bool WriteText(const std::string& name, std::uint32_t type, const std::string& text) override {
        return Write({name, type, text + '\0'});
    }
    bool WriteNumber(const std::string& name, std::int32_t n) override {
        return Write({name, regtype::kNumber, {}, n});
    }
    bool DeleteValue(const std::string& name) override {
        return Erase(&FakeRegistryKey::values, name);
    }
    bool DeleteSubkey(const std::string& name) override {
        FakeRegistryKey* key = writable_ && !name.empty() ? Key() : nullptr;
        if (key == nullptr) {
            return false;
        }
        // The system's delete opens the subkey by name, which goes through a link.
        const auto it = FindNamed(key->subkeys, name);
        if (links_ == KeyLinks::Follow && it != key->subkeys.end() && it->link) {
            return registry_.Remove(it->link->first, it->link->second);
        }
        return Erase(&FakeRegistryKey::subkeys, name);
    }
    bool IsLink() const override {
        const FakeRegistryKey* key = registry_.Walk(hive_, path_, false, links_);
        return links_ == KeyLinks::NotFollowed && key != nullptr && key->link.has_value();
    }
    std::optional<std::string> SubkeyName(std::uint32_t index, std::size_t bufferChars) override {
        return NameAt(&FakeRegistryKey::subkeys, index, bufferChars);
    }
    std::optional<std::string> ValueName(std::uint32_t index, std::size_t bufferChars) override {
        return NameAt(&FakeRegistryKey::values, index, bufferChars);
    }

  private:
    FakeRegistryKey* Key() { return registry_.Walk(hive_, path_, false, links_); }
    // The value, if any; for a read, none whose data cannot be read.
    const FakeRegistryValue* Value(const std::string& name, bool read) {
        FakeRegistryKey* key = Key();
        const FakeRegistryValue* value = key != nullptr ? key->FindValue(name) : nullptr;
        return value != nullptr && !(read && value->unreadable) ? value : nullptr;
    }
    bool Write(const FakeRegistryValue& value) {
        FakeRegistryKey* key = writable_ ? Key() : nullptr;
        if (key != nullptr) {
            key->Put(value);
        }
        return key != nullptr;
    }
    // Only through a key opened for writing, and a subkey only without subkeys of its own.
    template <typename Items>
    bool Erase(Items FakeRegistryKey::*member, const std::string& name) {
        FakeRegistryKey* key = writable_ ? Key() : nullptr;
        const auto it = key != nullptr ? FindNamed(key->*member, name) : typename Items::iterator();
        if (key == nullptr || it == (key->*member).end() || !Childless(*it)) {
            return false;
        }
        (key->*member).erase(it);
        return true;
    }
    template <typename Items>
    std::optional<std::string> NameAt(Items FakeRegistryKey::*member, std::uint32_t index,
                                      std::size_t chars) {
        FakeRegistryKey* key = Key();
        const bool fits =
            key && index < (key->*member).size() && (key->*member)[index].name.size() < chars;
        return fits ? std::optional((key->*member)[index].name) : std::nullopt;
    }

    FakeRegistry& registry_;
    RegistryHive hive_;
    std::string path_;
    bool writable_;
    KeyLinks links_;
};

}  // namespace

FakeRegistryValue* FakeRegistryKey::FindValue(const std::string& valueName) {
    const auto it = FindNamed(values, valueName);
    return it == values.end() ? nullptr : &*it;
}

void FakeRegistryKey::Put(const FakeRegistryValue& value) {
    FakeRegistryValue* existing = FindValue(value.name);
    if (existing != nullptr) {
        *existing = {existing->name, value.type, value.text, value.number};
    } else {
        values.push_back(value);
    }
}

FakeRegistryKey* FakeRegistry::Walk(RegistryHive hive, const std::string& path, bool make,
                                    KeyLinks links, int depth) {
    FakeRegistryKey* key = &hives_[hive];
    for (std::size_t start = 0; key != nullptr && !path.empty() && start <= path.size();) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        const std::string part = path.substr(start, end - start);
        const auto it = FindNamed(key->subkeys, part);
        if (!part.empty() && it != key->subkeys.end()) {
            key = &*it;
        } else if (make) {
            key = &key->subkeys.emplace_back();
            key->name = part;
        } else {
            key = nullptr;
        }
        start = end + 1;
        if (key == nullptr || !key->link) {
            continue;
        }
        if (links == KeyLinks::NotFollowed) {
            return start > path.size() ? key : nullptr;
        }
        // A chain of links that never ends finds nothing, as the system gives up on one.
        key = depth < 8 ? Walk(key->link->first, key->link->second, false, links, depth + 1)
                        : nullptr;
    }
    return key;
}

bool FakeRegistry::Remove(RegistryHive hive, const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    FakeRegistryKey* parent =
        Walk(hive, slash == std::string::npos ? std::string() : path.substr(0, slash), false);
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    if (parent == nullptr) {
        return false;
    }
    const auto it = FindNamed(parent->subkeys, name);
    if (it == parent->subkeys.end() || !it->subkeys.empty()) {
        return false;
    }
    parent->subkeys.erase(it);
    return true;
}

std::unique_ptr<IRegistryKey> FakeRegistry::Open(RegistryHive hive, const std::string& path,
                                                 RegistryAccess access, KeyLinks links) {
    onOpen(hive, path);
    const bool full = access == RegistryAccess::Full;
    const unsigned hiveDigit =
        static_cast<unsigned>(hive) & 0xF;  // the three hives are 8000000<digit>
    opened.push_back("8000000" + std::to_string(hiveDigit) + "|" + path +
                     (full ? "|full" : "|read"));
    FakeRegistryKey* key = Walk(hive, path, false, links);
    return !key || (full && key->readOnly)
               ? nullptr
               : std::make_unique<FakeKeyHandle>(*this, hive, path, full, links);
}

}  // namespace kestrum::fakes
