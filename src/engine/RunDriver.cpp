#include "engine/RunDriver.h"

#include <array>

#include "common/Path.h"
#include "common/Text.h"
#include "engine/Banner.h"
#include "engine/CleaningSteps.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"

namespace kestrum {

namespace {

// Each platform folder is asked for with a buffer of this many characters.
inline constexpr std::size_t kFolderBufferChars = 64;

struct StepEntry {
    CleaningStep step;
    bool RunFlags::*flag;
};

// Steps 1 to 9 of a run in the two orders; the silent form cleans temporary files and the cache
// before the recent files.
constexpr std::array<StepEntry, 9> kInteractiveOrder{{
    {CleaningStep::BrowserHistory, &RunFlags::DeleteHistory},
    {CleaningStep::Cookies, &RunFlags::DeleteCookies},
    {CleaningStep::RecentFiles, &RunFlags::DeleteRecent},
    {CleaningStep::TemporaryFiles, &RunFlags::DeleteTemporary},
    {CleaningStep::Cache, &RunFlags::DeleteCache},
    {CleaningStep::SelectedFiles, &RunFlags::DeleteSelected},
    {CleaningStep::RecycleBin, &RunFlags::ClearRecycleBin},
    {CleaningStep::DnsCache, &RunFlags::ClearDnsCache},
    {CleaningStep::Prefetch, &RunFlags::DeletePrefetch},
}};

constexpr std::array<StepEntry, 9> kSilentOrder{{
    {CleaningStep::BrowserHistory, &RunFlags::DeleteHistory},
    {CleaningStep::Cookies, &RunFlags::DeleteCookies},
    {CleaningStep::TemporaryFiles, &RunFlags::DeleteTemporary},
    {CleaningStep::Cache, &RunFlags::DeleteCache},
    {CleaningStep::RecentFiles, &RunFlags::DeleteRecent},
    {CleaningStep::SelectedFiles, &RunFlags::DeleteSelected},
    {CleaningStep::RecycleBin, &RunFlags::ClearRecycleBin},
    {CleaningStep::DnsCache, &RunFlags::ClearDnsCache},
    {CleaningStep::Prefetch, &RunFlags::DeletePrefetch},
}};

// The end of a cancelled run: the progress window goes and the user is told.
void Stop(KestrumModule& module) {
    if (module.ProgressWindow != nullptr) {
        module.ProgressWindow->Unload();
    }
    module.platform.ui.ShowMessage(kStoppedMessage, kRunTitle, MessageButtons::Ok,
                                   MessageIcon::None);
}

}  // namespace

void YieldToWindows(KestrumModule& module) {
    IUiToolkit& ui = module.platform.ui;
    if (ui.HasPendingInput()) {
        ui.ProcessPendingEvents();
    }
}

bool RunCancelled(KestrumModule& module) {
    YieldToWindows(module);
    return module.ProgressShown && module.CancelRequested;
}

void Pause(KestrumModule& module, std::int16_t seconds) {
    IClock& clock = module.platform.clock;
    IUiToolkit& ui = module.platform.ui;
    const std::uint64_t start = clock.NowMilliseconds();
    const std::uint64_t duration = seconds > 0 ? static_cast<std::uint64_t>(seconds) * 1000 : 0;
    for (;;) {
        ui.ProcessPendingEvents();
        const std::uint64_t elapsed = clock.NowMilliseconds() - start;
        if (elapsed >= duration) {
            return;
        }
        ui.WaitForEvents(static_cast<std::uint32_t>(duration - elapsed));
    }
}

void ShowStep(KestrumModule& module, const std::string& caption) {
    if (!module.ProgressShown || module.ProgressWindow == nullptr) {
        return;
    }
    module.ProgressWindow->SetStatus(caption);
    Pause(module, 1);
}

void ComputeLocations(KestrumModule& module) {
    ISystemInfo& system = module.platform.system;
    RunLocations& loc = module.Locations;
    loc.WindowsFolder = WithTrailingSeparator(system.WindowsDirectory(kFolderBufferChars).value_or(""));
    loc.SystemFolder = WithTrailingSeparator(system.SystemDirectory(kFolderBufferChars).value_or(""));
    loc.TempFolder = system.TempDirectory(kFolderBufferChars).value_or("");
    loc.UserName = ToLowerAscii(CurrentUserName(module));

    loc.AdminProfile = "c:\\documents and settings\\administrator\\";
    loc.DefaultProfile = "c:\\documents and settings\\default user\\";
    // Without a user name there is no profile of the user's own to clean.
    loc.UserProfile =
        loc.UserName.empty() ? std::string() : "c:\\documents and settings\\" + loc.UserName + "\\";
    loc.AdminLocal = JoinPath(loc.AdminProfile, "local settings\\");
    loc.DefaultLocal = JoinPath(loc.DefaultProfile, "local settings\\");
    loc.UserLocal = JoinPath(loc.UserProfile, "local settings\\");
}

void RunCleaning(KestrumModule& module) {
    // An interactive run's flag was cleared when its progress window was loaded; clearing it
    // again here would lose a Cancel pressed while that window was being drawn.
    if (!module.ProgressShown) {
        module.CancelRequested = false;
    }
    if (module.ProgressShown && module.ProgressWindow != nullptr) {
        module.ProgressWindow->SetStatus(" Initializing");
        Pause(module, 1);
    }
    module.RebootAdvised = false;
    ParseRunFlags(module.GeneralOptions, module.DeleteOptions, module.Flags);
    ComputeLocations(module);

    if (RunCancelled(module)) {
        Stop(module);
        return;
    }

    // The form is fixed here: a progress window closed later only silences the rest of the run.
    const bool interactive = module.ProgressShown;
    const auto& order = interactive ? kInteractiveOrder : kSilentOrder;
    for (const StepEntry& entry : order) {
        const bool enabled = module.Flags.*entry.flag;
        if (enabled) {
            module.Steps->Run(entry.step, module);
        }
        if ((enabled || interactive) && RunCancelled(module)) {
            Stop(module);
            return;
        }
    }
    // A Cancel during the registry step only ends that step; the caller sees CancelRequested.
    module.Steps->Run(CleaningStep::RegistryHistory, module);
}

void RunWithProgressWindow(KestrumModule& module) {
    Banner banner(module);
    banner.Show();
    module.platform.ui.ProcessPendingEvents();
    RunCleaning(module);
    banner.Unload();
}

}  // namespace kestrum
