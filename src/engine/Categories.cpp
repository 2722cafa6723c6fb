#include "engine/Categories.h"

#include <array>

#include "common/Path.h"
#include "common/Text.h"
#include "engine/CleaningSteps.h"
#include "engine/RegistryHistory.h"
#include "engine/Removal.h"
#include "engine/RunDriver.h"
#include "startup/KestrumModule.h"

namespace kestrum {

namespace {

inline constexpr std::int32_t kFirstBuildWithPrefetch = 2200;
inline constexpr std::uint32_t kRecycleQuietly =
    kRecycleNoConfirmation | kRecycleNoProgressUi | kRecycleNoSound;

// Who a row of a category is for: every system, the NT family, or the NT family when the
// logged-on user is not the administrator (whose folders have their own rows).
enum class Scope { All, Nt, User };

struct Row {
    Scope scope;
    std::string RunLocations::*base;
    const char* tail;
};

using L = RunLocations;

constexpr std::array kHistoryRows{
    Row{Scope::All, &L::WindowsFolder, "temporary internet files\\content.ie5"},
    Row{Scope::All, &L::WindowsFolder, "application data\\microsoft\\internet explorer\\userdata"},
    Row{Scope::All, &L::WindowsFolder, "history"},
    Row{Scope::Nt, &L::AdminLocal, "temporary internet files\\content.ie5"},
    Row{Scope::Nt, &L::AdminProfile, "Application Data\\Microsoft\\Internet Explorer\\UserData"},
    Row{Scope::Nt, &L::AdminLocal, "Application Data\\Microsoft\\Internet Explorer\\UserData"},
    Row{Scope::Nt, &L::AdminLocal, "History"},
    Row{Scope::Nt, &L::DefaultLocal, "temporary internet files\\content.ie5"},
    Row{Scope::Nt, &L::DefaultProfile, "Application Data\\Microsoft\\Internet Explorer\\UserData"},
    Row{Scope::Nt, &L::DefaultLocal, "Application Data\\Microsoft\\Internet Explorer\\UserData"},
    Row{Scope::Nt, &L::DefaultLocal, "History"},
    Row{Scope::Nt, &L::SystemFolder, "config\\systemprofile\\UserData"},
    Row{Scope::Nt, &L::SystemFolder, "config\\systemprofile\\Local Settings\\history"},
    Row{Scope::Nt, &L::SystemFolder,
        "config\\systemprofile\\Local Settings\\temporary internet files\\content.ie5"},
    Row{Scope::User, &L::UserLocal, "temporary internet files\\content.ie5"},
    Row{Scope::User, &L::UserProfile, "Application Data\\Microsoft\\Internet Explorer\\UserData"},
    Row{Scope::User, &L::UserLocal, "Application Data\\Microsoft\\Internet Explorer\\UserData"},
    Row{Scope::User, &L::UserLocal, "History"},
    Row{Scope::User, &L::UserProfile, "UserData"},
};

constexpr std::array kCookieRows{
    Row{Scope::All, &L::WindowsFolder, "cookies"},
    Row{Scope::Nt, &L::AdminProfile, "cookies"},
    Row{Scope::Nt, &L::DefaultProfile, "cookies"},
    Row{Scope::Nt, &L::SystemFolder, "config\\systemprofile\\cookies"},
    Row{Scope::User, &L::UserProfile, "cookies"},
};

constexpr std::array<const char*, 4> kRecentTails{
    "recent",
    "Application Data\\Microsoft\\Office\\Recent",
    "Application Data\\Microsoft\\Media Player",
    "Application Data\\Real\\RealOne Player\\History",
};

// After the temporary folder itself, which has a rule of its own.
constexpr std::array kTemporaryRowsBeforeMatching{
    Row{Scope::All, &L::WindowsFolder, "temp"},
    Row{Scope::All, &L::WindowsFolder, "temporary internet files"},
};

constexpr std::array kTemporaryRowsAfterMatching{
    Row{Scope::Nt, &L::AdminLocal, "temp"},
    Row{Scope::Nt, &L::AdminLocal, "temporary internet files"},
    Row{Scope::Nt, &L::DefaultLocal, "temp"},
    Row{Scope::Nt, &L::DefaultLocal, "temporary internet files"},
    Row{Scope::Nt, &L::SystemFolder, "config\\systemprofile\\Local Settings\\temp"},
    Row{Scope::Nt, &L::SystemFolder, "config\\systemprofile\\Local Settings\\temporary internet files"},
    Row{Scope::User, &L::UserLocal, "temp"},
    Row{Scope::User, &L::UserLocal, "temporary internet files"},
};

bool Applies(const KestrumModule& module, Scope scope) {
    switch (scope) {
        case Scope::All: return true;
        case Scope::Nt: return module.IsWindowsNT;
        case Scope::User: return module.IsWindowsNT && module.Locations.UserName != "administrator";
    }
    return false;
}

// Empties one category folder, then answers whether the run must stop. A folder built on a
// location the platform could not give is skipped, never taken relative to the current folder.
bool PurgeThenCancelled(KestrumModule& module, const std::string& base, const char* tail) {
    if (const std::string folder = JoinPath(base, tail); !folder.empty()) {
        PurgeFolderContents(module, folder);
    }
    return RunCancelled(module);
}

// Runs the rows that apply, in order; false once the run must stop.
template <std::size_t N>
bool PurgeRows(KestrumModule& module, const std::array<Row, N>& rows) {
    for (const Row& row : rows) {
        if (Applies(module, row.scope) && PurgeThenCancelled(module, module.Locations.*row.base, row.tail)) {
            return false;
        }
    }
    return true;
}

// True when the program runs from the temporary folder: then that folder is never emptied. The
// folder's text may be a short-name or otherwise different spelling of the same folder.
bool IsProgramFolder(KestrumModule& module, const std::string& folder) {
    IFileSystem& files = module.platform.files;
    const std::string current = files.CurrentDirectory();
    return ToLowerAscii(WithoutTrailingSeparator(folder)) ==
               ToLowerAscii(WithoutTrailingSeparator(current)) ||
           files.IsSameFolder(folder, current);
}

}  // namespace

void CleanBrowserHistory(KestrumModule& module) {
    ShowStep(module, " Removing Internet Explorer history");
    PurgeRows(module, kHistoryRows);
}

void CleanCookies(KestrumModule& module) {
    ShowStep(module, " Removing cookies");
    PurgeRows(module, kCookieRows);
}

void CleanRecentFiles(KestrumModule& module) {
    ShowStep(module, " Removing recent files");
    const RunLocations& loc = module.Locations;
    if (PurgeThenCancelled(module, loc.WindowsFolder, "recent") || !module.IsWindowsNT) {
        return;
    }
    const std::array<std::pair<Scope, const std::string*>, 3> profiles{{
        {Scope::Nt, &loc.AdminProfile},
        {Scope::Nt, &loc.DefaultProfile},
        {Scope::User, &loc.UserProfile},
    }};
    for (const auto& [scope, profile] : profiles) {
        if (!Applies(module, scope)) {
            continue;
        }
        for (const char* tail : kRecentTails) {
            if (PurgeThenCancelled(module, *profile, tail)) {
                return;
            }
        }
    }
}

void CleanTemporaryFiles(KestrumModule& module) {
    ShowStep(module, " Removing temporary files");
    const RunLocations& loc = module.Locations;
    if (!loc.TempFolder.empty() && !IsProgramFolder(module, loc.TempFolder)) {
        PurgeFolderContents(module, loc.TempFolder);
        if (RunCancelled(module)) {
            return;
        }
    }
    if (!PurgeRows(module, kTemporaryRowsBeforeMatching)) {
        return;
    }
    if (!loc.WindowsFolder.empty()) {
        DeleteMatchingFiles(module, loc.WindowsFolder, "*.tmp");
    }
    if (RunCancelled(module)) {
        return;
    }
    PurgeRows(module, kTemporaryRowsAfterMatching);
}

void CleanCache(KestrumModule& module) {
    ShowStep(module, " Clearing cache");
    const RunLocations& loc = module.Locations;
    const std::string swapFile = JoinPath(loc.WindowsFolder, "win386.swp");
    if (PurgeThenCancelled(module, loc.SystemFolder, "dllcache") || swapFile.empty()) {
        return;
    }
    // The swap file of Windows 95/98/ME is in use while Windows runs: a plain delete, and a reboot
    // when it is still there.
    IFileSystem& files = module.platform.files;
    files.RemoveFile(swapFile);
    if (RunCancelled(module)) {
        return;
    }
    if (files.FindsNormalFile(swapFile)) {
        module.RebootAdvised = true;
    }
    RunCancelled(module);
}

void DeleteSelectedFiles(KestrumModule& module) {
    if (module.SelectedFileCount <= 0) {
        return;
    }
    ShowStep(module, " Deleting selected files");
    const auto count = static_cast<std::size_t>(module.SelectedFileCount);
    for (std::size_t i = 1; i <= count && i < module.SelectedFiles.size(); ++i) {
        // A copy: the list may be rebuilt while events are processed.
        const std::string entry = module.SelectedFiles[i];
        const std::size_t slash = entry.rfind('\\');
        // Entries that are not full paths would be taken relative to the program's folder.
        if (!entry.empty() && slash != std::string::npos && !IsUnsafePurgePath(entry)) {
            if (slash + 1 == entry.size()) {
                PurgeFolder(module, entry);
            } else if (entry.find('*') != std::string::npos) {
                DeleteMatchingFiles(module, entry.substr(0, slash + 1), entry.substr(slash + 1));
            } else {
                DeleteOneFile(module, entry);
            }
        }
        if (RunCancelled(module)) {
            return;
        }
    }
}

void EmptyRecycleBin(KestrumModule& module) {
    ShowStep(module, " Clearing Recycle Bin");
    module.platform.shell.EmptyRecycleBin(kRecycleQuietly);
    module.platform.ui.ProcessPendingEvents();
}

void FlushDnsCache(KestrumModule& module) {
    if (!module.IsWindowsNT) {
        return;
    }
    ShowStep(module, " Clearing DNS cache");
    // Named by its full path, so that an ipconfig.exe beside this program is never the one run.
    if (const std::string ipconfig = JoinPath(module.Locations.SystemFolder, "ipconfig.exe");
        !ipconfig.empty()) {
        module.platform.shell.StartHidden(ipconfig, "ipconfig /flushdns");
    }
}

void CleanPrefetch(KestrumModule& module) {
    if (!module.IsWindowsNT || module.WindowsBuild < kFirstBuildWithPrefetch) {
        return;
    }
    ShowStep(module, " Removing prefetch files");
    PurgeThenCancelled(module, module.Locations.WindowsFolder, "prefetch");
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
