// The registry contract on the in-memory fake that the unit tests use.
#include "contract/Contracts.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"

namespace kestrum::contract {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;

class FakeSubject final : public Subject {
  public:
    FakeSubject() { registry_.Key(kUser, Root()); }
    IRegistry& Registry() override { return registry_; }
    std::string Root() override { return "Software\\Kestrum contract"; }
    void MakeKey(const std::string& path) override { registry_.Key(kUser, path); }
    void PutForeign(const std::string& path, const std::string& name, std::uint32_t type,
                    const std::string& data) override {
        registry_.Key(kUser, path).Put({name, type, data});
    }

  private:
    fakes::FakeRegistry registry_;
};

std::unique_ptr<Subject> MakeSubject() {
    return std::make_unique<FakeSubject>();
}

TEST(SettingsStoreTest, FakeHoldsTheContract) {
    fakes::FakeSettingsStore store;
    HoldsSettingsStoreContract(store, "Kestrum contract");
}

}  // namespace kestrum::contract
