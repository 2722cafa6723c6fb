// The registry's promises, held against every implementation; each binary defines MakeSubject.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/Registry.h"
#include "platform/SettingsStore.h"

namespace kestrum::contract {

// What the suites need beside the interfaces; registry paths are under HKEY_CURRENT_USER.
class Subject {
  public:
    virtual ~Subject() = default;
    virtual IRegistry& Registry() = 0;
    virtual std::string Root() = 0;                     // an empty key of this test's own
    virtual void MakeKey(const std::string& path) = 0;  // with every missing level
    // A value as another program may store it: text (type 1) with no terminating NUL.
    virtual void PutForeign(const std::string& path, const std::string& name, std::uint32_t type,
                            const std::string& data) = 0;
};

std::unique_ptr<Subject> MakeSubject();

// The settings store's promises, on any implementation, for an application no test has used.
void HoldsSettingsStoreContract(ISettingsStore& store, const std::string& application);

class RegistryContract : public ::testing::Test {
  protected:
    std::unique_ptr<IRegistryKey> Open(const std::string& path,
                                       RegistryAccess access = RegistryAccess::Full) {
        return subject->Registry().Open(RegistryHive::CurrentUser, path, access, KeyLinks::Follow);
    }
    std::unique_ptr<Subject> subject = MakeSubject();
    const std::string root = subject->Root();
};

}  // namespace kestrum::contract
