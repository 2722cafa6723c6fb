#include "engine/Categories.h"

#include <array>

#include "common/Path.h"
#include "common/Text.h"
#include "engine/CleaningSteps.h"
#include "engine/RegistryHistory.h"
#include "engine/Removal.h"
#include "engine/RunContext.h"
#include "engine/RunDriver.h"

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
    Row{Scope::Nt, &L::SystemFolder,
        "config\\systemprofile\\Local Settings\\temporary internet files"},
    Row{Scope::User, &L::UserLocal, "temp"},
    Row{Scope::User, &L::UserLocal, "temporary internet files"},
};

bool Applies(const RunContext& ctx, Scope scope) {
    switch (scope) {
        case Scope::All:
            return true;
        case Scope::Nt:
            return ctx.Startup.IsWindowsNT;
        case Scope::User:
            return ctx.Startup.IsWindowsNT && ctx.Run.Locations.UserName != "administrator";
    }
    return false;
}

// Empties one category folder, then answers whether the run must stop. A folder built on a
// location the platform could not give is skipped, never taken relative to the current folder.
bool PurgeThenCancelled(RunContext& ctx, const std::string& base, const char* tail) {
    if (const std::string folder = JoinPath(base, tail); !folder.empty()) {
        PurgeFolderContents(ctx, folder);
    }
    return RunCancelled(ctx);
}

// Runs the rows that apply, in order; false once the run must stop.
template <std::size_t N>
bool PurgeRows(RunContext& ctx, const std::array<Row, N>& rows) {
    for (const Row& row : rows) {
        if (Applies(ctx, row.scope) &&
            PurgeThenCancelled(ctx, ctx.Run.Locations.*row.base, row.tail)) {
            return false;
        }
    }
    return true;
}

// True when the program runs from the temporary folder: then that folder is never emptied. The
// folder's text may be a short-name or otherwise different spelling of the same folder.
bool IsProgramFolder(RunContext& ctx, const std::string& folder) {
    IFileSystem& files = ctx.platform.files;
    const std::string current = files.CurrentDirectory();
    return ToLowerAscii(WithoutTrailingSeparator(folder)) ==
               ToLowerAscii(WithoutTrailingSeparator(current)) ||
           files.IsSameFolder(folder, current);
}

}  // namespace

void CleanBrowserHistory(RunContext& ctx) {
    ShowStep(ctx, " Removing Internet Explorer history");
    PurgeRows(ctx, kHistoryRows);
}

void CleanCookies(RunContext& ctx) {
    ShowStep(ctx, " Removing cookies");
    PurgeRows(ctx, kCookieRows);
}

void CleanRecentFiles(RunContext& ctx) {
    ShowStep(ctx, " Removing recent files");
    const RunLocations& loc = ctx.Run.Locations;
    if (PurgeThenCancelled(ctx, loc.WindowsFolder, "recent") || !ctx.Startup.IsWindowsNT) {
        return;
    }
    const std::array<std::pair<Scope, const std::string*>, 3> profiles{{
        {Scope::Nt, &loc.AdminProfile},
        {Scope::Nt, &loc.DefaultProfile},
        {Scope::User, &loc.UserProfile},
    }};
    for (const auto& [scope, profile] : profiles) {
        if (!Applies(ctx, scope)) {
            continue;
        }
        for (const char* tail : kRecentTails) {
            if (PurgeThenCancelled(ctx, *profile, tail)) {
                return;
            }
        }
    }
}

void CleanTemporaryFiles(RunContext& ctx) {
    ShowStep(ctx, " Removing temporary files");
    const RunLocations& loc = ctx.Run.Locations;
    if (!loc.TempFolder.empty() && !IsProgramFolder(ctx, loc.TempFolder)) {
        PurgeFolderContents(ctx, loc.TempFolder);
        if (RunCancelled(ctx)) {
            return;
        }
    }
    if (!PurgeRows(ctx, kTemporaryRowsBeforeMatching)) {
        return;
    }
    if (!loc.WindowsFolder.empty()) {
        DeleteMatchingFiles(ctx, loc.WindowsFolder, "*.tmp");
    }
    if (RunCancelled(ctx)) {
        return;
    }
    PurgeRows(ctx, kTemporaryRowsAfterMatching);
}

void CleanCache(RunContext& ctx) {
    ShowStep(ctx, " Clearing cache");
    const RunLocations& loc = ctx.Run.Locations;
    const std::string swapFile = JoinPath(loc.WindowsFolder, "win386.swp");
    if (PurgeThenCancelled(ctx, loc.SystemFolder, "dllcache") || swapFile.empty()) {
        return;
    }
    // The swap file of Windows 95/98/ME is in use while Windows runs: a plain delete, and a reboot
    // when it is still there.
    IFileSystem& files = ctx.platform.files;
    files.RemoveFile(swapFile);
    if (RunCancelled(ctx)) {
        return;
    }
    if (files.FindsNormalFile(swapFile)) {
        ctx.Run.RebootAdvised = true;
    }
    RunCancelled(ctx);
}

void DeleteSelectedFiles(RunContext& ctx) {
    if (ctx.Options.SelectedFileCount <= 0) {
        return;
    }
    ShowStep(ctx, " Deleting selected files");
    const auto count = static_cast<std::size_t>(ctx.Options.SelectedFileCount);
    for (std::size_t i = 1; i <= count && i < ctx.Options.SelectedFiles.size(); ++i) {
        // A copy: the list may be rebuilt while events are processed.
        const std::string entry = ctx.Options.SelectedFiles[i];
        const std::size_t slash = entry.rfind('\\');
        // Entries that are not full paths would be taken relative to the program's folder.
        if (!entry.empty() && slash != std::string::npos && !IsUnsafePurgePath(entry)) {
            if (slash + 1 == entry.size()) {
                PurgeFolder(ctx, entry);
            } else if (entry.find('*') != std::string::npos) {
                DeleteMatchingFiles(ctx, entry.substr(0, slash + 1), entry.substr(slash + 1));
            } else {
                DeleteOneFile(ctx, entry);
            }
        }
        if (RunCancelled(ctx)) {
            return;
        }
    }
}

void EmptyRecycleBin(RunContext& ctx) {
    ShowStep(ctx, " Clearing Recycle Bin");
    ctx.platform.shell.EmptyRecycleBin(kRecycleQuietly);
    ctx.platform.ui.ProcessPendingEvents();
}

void FlushDnsCache(RunContext& ctx) {
    if (!ctx.Startup.IsWindowsNT) {
        return;
    }
    ShowStep(ctx, " Clearing DNS cache");
    // Named by its full path, so that an ipconfig.exe beside this program is never the one run.
    if (const std::string ipconfig = JoinPath(ctx.Run.Locations.SystemFolder, "ipconfig.exe");
        !ipconfig.empty()) {
        ctx.platform.shell.StartHidden(ipconfig, "ipconfig /flushdns");
    }
}

void CleanPrefetch(RunContext& ctx) {
    if (!ctx.Startup.IsWindowsNT || ctx.Startup.WindowsBuild < kFirstBuildWithPrefetch) {
        return;
    }
    ShowStep(ctx, " Removing prefetch files");
    PurgeThenCancelled(ctx, ctx.Run.Locations.WindowsFolder, "prefetch");
}

void CategorySteps::Run(CleaningStep step, RunContext& ctx) {
    switch (step) {
        case CleaningStep::BrowserHistory:
            CleanBrowserHistory(ctx);
            break;
        case CleaningStep::Cookies:
            CleanCookies(ctx);
            break;
        case CleaningStep::RecentFiles:
            CleanRecentFiles(ctx);
            break;
        case CleaningStep::TemporaryFiles:
            CleanTemporaryFiles(ctx);
            break;
        case CleaningStep::Cache:
            CleanCache(ctx);
            break;
        case CleaningStep::SelectedFiles:
            DeleteSelectedFiles(ctx);
            break;
        case CleaningStep::RecycleBin:
            EmptyRecycleBin(ctx);
            break;
        case CleaningStep::DnsCache:
            FlushDnsCache(ctx);
            break;
        case CleaningStep::Prefetch:
            CleanPrefetch(ctx);
            break;
        case CleaningStep::RegistryHistory:
            ClearRegistryHistory(ctx);
            break;
    }
}

}  // namespace kestrum
