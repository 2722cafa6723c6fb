// The promises of ISettingsStore, held against every implementation.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/SettingsStore.h"

namespace kestrum::contract {

class SettingsStoreSubject {
public:
    virtual ~SettingsStoreSubject() = default;
    virtual ISettingsStore& Store() = 0;
    // An application name that nothing has stored under yet.
    virtual std::string Application() = 0;
    // Whether the value is stored as the platform's plain text type, which other programs read.
    virtual bool StoredAsText(const std::string& section, const std::string& name) = 0;
    // A value of another type than text under the application's section.
    virtual void PutNumber(const std::string& section, const std::string& name) = 0;
    // Text as another program may have stored it: without a terminating NUL, or with one early.
    virtual void PutStoredText(const std::string& section, const std::string& name,
                               const std::string& characters) = 0;
};

struct SettingsStoreSubjectFactory {
    const char* name;
    std::function<std::unique_ptr<SettingsStoreSubject>()> make;
    friend void PrintTo(const SettingsStoreSubjectFactory& factory, std::ostream* out) { *out << factory.name; }
};

class SettingsStoreContract : public ::testing::TestWithParam<SettingsStoreSubjectFactory> {
protected:
    void SetUp() override {
        subject = GetParam().make();
        app = subject->Application();
    }

    std::unique_ptr<SettingsStoreSubject> subject;
    std::string app;
};

}  // namespace kestrum::contract
