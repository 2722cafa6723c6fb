#include "engine/Categories.h"

#include "engine/CleaningSteps.h"
#include "engine/RunDriver.h"
#include "startup/KestrumModule.h"

// The categories announce themselves under the conditions they run in; what they remove comes
// with the removal primitives.

namespace kestrum {

namespace {
inline constexpr std::int32_t kFirstBuildWithPrefetch = 2200;
}

void CleanBrowserHistory(KestrumModule& module) {
    ShowStep(module, " Removing Internet Explorer history");
}

void CleanCookies(KestrumModule& module) { ShowStep(module, " Removing cookies"); }

void CleanRecentFiles(KestrumModule& module) { ShowStep(module, " Removing recent files"); }

void CleanTemporaryFiles(KestrumModule& module) { ShowStep(module, " Removing temporary files"); }

void CleanCache(KestrumModule& module) { ShowStep(module, " Clearing cache"); }

void DeleteSelectedFiles(KestrumModule& module) {
    if (module.SelectedFileCount == 0) {
        return;
    }
    ShowStep(module, " Deleting selected files");
}

void EmptyRecycleBin(KestrumModule& module) { ShowStep(module, " Clearing Recycle Bin"); }

void FlushDnsCache(KestrumModule& module) {
    if (!module.IsWindowsNT) {
        return;
    }
    ShowStep(module, " Clearing DNS cache");
}

void CleanPrefetch(KestrumModule& module) {
    if (!module.IsWindowsNT || module.WindowsBuild < kFirstBuildWithPrefetch) {
        return;
    }
    ShowStep(module, " Removing prefetch files");
}

void ClearRegistryHistory(KestrumModule& module) {
    if (module.ProgressShown && (module.Flags.DeleteHistory || module.Flags.DeleteRecent)) {
        ShowStep(module, " Final clean up");
    }
}

void CategorySteps::Run(CleaningStep step, KestrumModule& module) {
    switch (step) {
        case CleaningStep::BrowserHistory: CleanBrowserHistory(module); break;
        case CleaningStep::Cookies: CleanCookies(module); break;
        case CleaningStep::RecentFiles: CleanRecentFiles(module); break;
        case CleaningStep::TemporaryFiles: CleanTemporaryFiles(module); break;
        case CleaningStep::Cache: CleanCache(module); break;
        case CleaningStep::SelectedFiles: DeleteSelectedFiles(module); break;
        case CleaningStep::RecycleBin: EmptyRecycleBin(module); break;
        case CleaningStep::DnsCache: FlushDnsCache(module); break;
        case CleaningStep::Prefetch: CleanPrefetch(module); break;
        case CleaningStep::RegistryHistory: ClearRegistryHistory(module); break;
    }
}

}  // namespace kestrum
