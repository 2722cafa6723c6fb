// The promises of IRegistry and IRegistryKey, held against every implementation.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/Registry.h"

namespace kestrum::contract {

// What a suite needs beside the interface: it cannot make keys, foreign values or read-only keys
// through IRegistry itself. Paths are under HKEY_CURRENT_USER.
class RegistrySubject {
public:
    virtual ~RegistrySubject() = default;
    virtual IRegistry& Registry() = 0;
    // An empty key of this test's own, with every missing level made.
    virtual std::string Root() = 0;
    virtual void MakeKey(const std::string& path) = 0;
    virtual bool HasKey(const std::string& path) = 0;
    // A value of a type that is neither text nor number.
    virtual void PutBinary(const std::string& path, const std::string& name) = 0;
    // A text value that another program stored without its terminating NUL.
    virtual void PutUnterminatedText(const std::string& path, const std::string& name,
                                     const std::string& text) = 0;
    // False where the subject cannot refuse the user full access to a key.
    virtual bool MakeReadOnly(const std::string& path) = 0;
};

struct RegistrySubjectFactory {
    const char* name;
    std::function<std::unique_ptr<RegistrySubject>()> make;
    friend void PrintTo(const RegistrySubjectFactory& factory, std::ostream* out) { *out << factory.name; }
};

class RegistryContract : public ::testing::TestWithParam<RegistrySubjectFactory> {
protected:
    void SetUp() override {
        subject = GetParam().make();
        root = subject->Root();
    }
    std::unique_ptr<IRegistryKey> OpenRoot(RegistryAccess access = RegistryAccess::Full) {
        return subject->Registry().Open(RegistryHive::CurrentUser, root, access);
    }

    std::unique_ptr<RegistrySubject> subject;
    std::string root;
};

}  // namespace kestrum::contract
