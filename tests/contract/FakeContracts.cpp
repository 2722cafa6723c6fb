// The contract suites on the in-memory fakes that the unit tests use.
#include "contract/RegistryContract.h"
#include "contract/SettingsStoreContract.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"

namespace kestrum::contract {
namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;

class FakeRegistrySubject final : public RegistrySubject {
public:
    FakeRegistrySubject() { fake_.Key(kUser, Root()); }
    ~FakeRegistrySubject() override { EXPECT_EQ(fake_.openKeys, 0) << "every key handle closes its key"; }

    IRegistry& Registry() override { return fake_; }
    std::string Root() override { return "Software\\Kestrum contract"; }
    void MakeKey(const std::string& path) override { fake_.Key(kUser, path); }
    bool HasKey(const std::string& path) override { return fake_.HasKey(kUser, path); }
    void PutBinary(const std::string& path, const std::string& name) override {
        fake_.SetBinary(kUser, path, name);
    }
    void PutUnterminatedText(const std::string& path, const std::string& name,
                             const std::string& text) override {
        fake_.SetText(kUser, path, name, text);
        fake_.Find(kUser, path)->FindValue(name)->text = text;
    }
    bool MakeReadOnly(const std::string& path) override {
        fake_.Find(kUser, path)->readOnly = true;
        return true;
    }

private:
    fakes::FakeRegistry fake_;
};

class FakeSettingsSubject final : public SettingsStoreSubject {
public:
    ISettingsStore& Store() override { return fake_; }
    std::string Application() override { return "Kestrum"; }
    bool StoredAsText(const std::string& section, const std::string& name) override {
        return fake_.values.count(fakes::FakeSettingsStore::Key(Application(), section, name)) == 1;
    }
    // The fake keeps text only: a value of another type is one it does not hold.
    void PutNumber(const std::string& section, const std::string& name) override {
        fake_.values.erase(fakes::FakeSettingsStore::Key(Application(), section, name));
    }
    void PutStoredText(const std::string& section, const std::string& name,
                       const std::string& characters) override {
        fake_.values[fakes::FakeSettingsStore::Key(Application(), section, name)] = characters;
    }

private:
    fakes::FakeSettingsStore fake_;
};

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract,
                         ::testing::Values(RegistrySubjectFactory{"FakeRegistry", [] {
                             return std::unique_ptr<RegistrySubject>(new FakeRegistrySubject);
                         }}));
INSTANTIATE_TEST_SUITE_P(Fake, SettingsStoreContract,
                         ::testing::Values(SettingsStoreSubjectFactory{"FakeSettingsStore", [] {
                             return std::unique_ptr<SettingsStoreSubject>(new FakeSettingsSubject);
                         }}));

}  // namespace
}  // namespace kestrum::contract
