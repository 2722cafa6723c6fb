#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/CleaningSteps.h"
#include "engine/RandomSource.h"
#include "platform/Platform.h"
#include "registry/RegistryModule.h"
#include "settings/OptionFlags.h"
#include "settings/StartupState.h"

namespace kestrum {

class Banner;

// Folders a run cleans, worked out afresh at the start of every run. An empty text means the
// platform could not give that folder.
struct RunLocations {
    std::string WindowsFolder;
    std::string SystemFolder;
    std::string TempFolder;
    std::string UserName;
    std::string AdminProfile;
    std::string DefaultProfile;
    std::string UserProfile;
    std::string AdminLocal;
    std::string DefaultLocal;
    std::string UserLocal;
};

// What changes while a run goes on, and the progress window that shows it.
struct RunState {
    bool ProgressShown = false;
    bool CancelRequested = false;
    bool RebootAdvised = false;
    RunFlags Flags;
    RunLocations Locations;
    RandomSource Random;
    // When RunCancelled last asked the event queue, on the monotonic clock.
    std::uint64_t InputCheckedAt = 0;
    // The progress window while it is loaded.
    Banner* ProgressWindow = nullptr;
};

// Everything a run and its steps work with: the services, the start-up facts and option strings
// they read, the run state they change, and what each step does.
struct RunContext {
    RunContext(const Platform& services, RegistryModule& registry, const StartupState& startup,
               const OptionState& options, RunState& run)
        : platform(services),
          Registry(registry),
          Startup(startup),
          Options(options),
          Run(run),
          Steps(std::make_unique<CategorySteps>()) {}

    const Platform& platform;
    RegistryModule& Registry;
    const StartupState& Startup;
    const OptionState& Options;
    RunState& Run;
    // Replaceable so the driver can be watched alone.
    std::unique_ptr<ICleaningSteps> Steps;
};

}  // namespace kestrum
