// The contract suites on the in-memory fakes that the unit tests use.
#include "contract/Contracts.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"

namespace kestrum::contract {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
using fakes::FakeSettingsStore;

class FakeSubject final : public Subject {
public:
    FakeSubject() { registry_.Key(kUser, Root()); }
    IRegistry& Registry() override { return registry_; }
    std::string Root() override { return "Software\\Kestrum contract"; }
    void MakeKey(const std::string& path) override { registry_.Key(kUser, path); }
    void PutForeign(const std::string& path, const std::string& name, std::uint32_t type,
                    const std::string& data) override {
        registry_.SetText(kUser, path, name, data, type);
        registry_.Find(kUser, path)->FindValue(name)->text = data;
    }
    ISettingsStore& Store() override { return store_; }
    std::string Application() override { return "Kestrum"; }
    bool StoredAsText(const std::string& section, const std::string& name) override {
        return store_.values.count(FakeSettingsStore::Key("Kestrum", section, name)) == 1;
    }
    // The fake keeps text only: a value of another type is one it does not hold.
    void PutForeignSetting(const std::string& section, const std::string& name, std::uint32_t type,
                           const std::string& data) override {
        const std::string key = FakeSettingsStore::Key("Kestrum", section, name);
        type == regtype::kText ? void(store_.values[key] = data) : void(store_.values.erase(key));
    }

private:
    fakes::FakeRegistry registry_;
    FakeSettingsStore store_;
};

std::unique_ptr<Subject> MakeSubject() { return std::make_unique<FakeSubject>(); }

}  // namespace kestrum::contract
