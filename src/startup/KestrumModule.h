#pragma once

#include <memory>

#include "engine/RunContext.h"
#include "platform/Platform.h"
#include "registry/RegistryModule.h"
#include "settings/StartupState.h"
#include "shortcuts/ShortcutMaintenance.h"

namespace kestrum {

class ProgramWindow;

// The process-wide state, made by the entry point (or a test) and passed by reference: the
// start-up facts, the option strings and list, and the run state, with the run context that
// hands them to the engine.
class KestrumModule {
  public:
    explicit KestrumModule(const Platform& services);
    ~KestrumModule();
    KestrumModule(const KestrumModule&) = delete;
    KestrumModule& operator=(const KestrumModule&) = delete;

    Platform platform;
    RegistryModule Registry;
    StartupState Startup;
    OptionState Options;
    RunState Run;
    RunContext Context;

    ShortcutContext Shortcuts() const { return {platform, Startup}; }

    // The window Main showed, for either kind of start; the process lives while it is loaded.
    std::unique_ptr<ProgramWindow> Window;
};

}  // namespace kestrum
