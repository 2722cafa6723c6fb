#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/RandomSource.h"
#include "platform/Platform.h"
#include "registry/RegistryModule.h"
#include "settings/OptionFlags.h"

namespace kestrum {

class Banner;
class ICleaningSteps;
class MainWindow;

// An error raised and absorbed inside a routine, kept for a caller that looks for it.
struct ErrorRecord {
    std::uint32_t number = 0;
    std::string source;
    std::string text;
};

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

// The process-wide state: made by the entry point (or a test) and passed by reference.
class KestrumModule {
public:
    explicit KestrumModule(const Platform& services);
    ~KestrumModule();
    KestrumModule(const KestrumModule&) = delete;
    KestrumModule& operator=(const KestrumModule&) = delete;

    Platform platform;
    RegistryModule Registry;

    // Start-up state.
    bool IsWindowsNT = false;
    std::int32_t WindowsBuild = 0;
    std::string GeneralOptions;
    std::string DeleteOptions;
    std::string StartupCommand;
    std::string ListFilePath;
    std::string CommandLine;
    // Indexed from 1; index 0 never holds an entry.
    std::vector<std::string> SelectedFiles{std::string()};
    std::int16_t SelectedFileCount = 0;

    // Run-time state.
    bool ProgressShown = false;
    bool CancelRequested = false;
    bool RebootAdvised = false;
    RunFlags Flags;
    RunLocations Locations;
    // The folder the current purge keeps, in lower case.
    std::string PurgeRoot;
    RandomSource Random;
    // The last error absorbed by the shutdown routines, if any.
    std::optional<ErrorRecord> LastError;
    // The progress window while it is loaded.
    Banner* ProgressWindow = nullptr;

    // What a run does for each of its steps; replaceable so the driver can be watched alone.
    std::unique_ptr<ICleaningSteps> Steps;

    // The window Main showed; the process lives while it is loaded.
    std::unique_ptr<MainWindow> Window;
};

}  // namespace kestrum
