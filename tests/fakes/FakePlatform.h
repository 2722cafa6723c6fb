#pragma once

#include "fakes/FakeClock.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakePower.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSystem.h"
#include "fakes/ui/FakeUiToolkit.h"
#include "platform/Platform.h"

namespace kestrum::fakes {

// Every service faked, wired together for one test.
struct FakePlatform {
    FakeApplication application;
    FakeSystemInfo system;
    FakeSettingsStore settings;
    FakeFileSystem files;
    FakeClock clock;
    FakeUiToolkit ui{clock};
    FakeShell shell;
    FakeRegistry registry;
    FakePower power;

    FakePlatform() { shell.files = &files; }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    Platform services() { return Platform{application, system, settings, files, clock, ui, shell, registry, power}; }
};

}  // namespace kestrum::fakes
