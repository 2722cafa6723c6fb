#pragma once

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/Mail.h"
#include "platform/Power.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/Ui.h"

namespace kestrum {

// The services the program uses, owned by the entry point (or a test) for the whole process.
struct Platform {
    IApplication& application;
    ISystemInfo& system;
    ISettingsStore& settings;
    IFileSystem& files;
    IClock& clock;
    IUiToolkit& ui;
    IShell& shell;
    IRegistry& registry;
    IPower& power;
    IMail& mail;
    ILocale& locale;
};

}  // namespace kestrum
