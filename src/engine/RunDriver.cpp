#include "engine/RunDriver.h"

#include <array>

#include "common/Path.h"
#include "common/Text.h"
#include "engine/Banner.h"
#include "engine/CleaningSteps.h"
#include "engine/Completion.h"
#include "engine/RunContext.h"
#include "settings/StartupState.h"

namespace kestrum {

namespace {

// A run takes platform folders of at most this many characters; a longer one is left empty, and
// everything built on it is skipped.
inline constexpr std::size_t kLongestRunFolder = 63;

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
void Stop(RunContext& ctx) {
    if (ctx.Run.ProgressWindow != nullptr) {
        ctx.Run.ProgressWindow->Unload();
    }
    ctx.platform.ui.ShowMessage(kStoppedMessage, kRunTitle, MessageButtons::Ok, MessageIcon::None);
}

std::string RunFolder(const std::optional<std::string>& folder) {
    return folder && CharacterCount(*folder) <= kLongestRunFolder ? *folder : std::string();
}

}  // namespace

void YieldToWindows(RunContext& ctx) {
    IUiToolkit& ui = ctx.platform.ui;
    if (ui.HasPendingInput()) {
        ui.ProcessPendingEvents();
    }
}

bool RunCancelled(RunContext& ctx) {
    // Asking the queue is a trip to the window system, dearer than deleting a file; a click that
    // waits a few milliseconds still stops the run after the entry in hand.
    constexpr std::uint64_t kInputCheckMilliseconds = 5;
    const std::uint64_t now = ctx.platform.clock.NowMilliseconds();
    if (now - ctx.Run.InputCheckedAt >= kInputCheckMilliseconds) {
        ctx.Run.InputCheckedAt = now;
        YieldToWindows(ctx);
    }
    return ctx.Run.ProgressShown && ctx.Run.CancelRequested;
}

void Pause(RunContext& ctx, std::int16_t seconds) {
    IClock& clock = ctx.platform.clock;
    IUiToolkit& ui = ctx.platform.ui;
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

void ShowStep(RunContext& ctx, const std::string& caption) {
    if (!ctx.Run.ProgressShown || ctx.Run.ProgressWindow == nullptr) {
        return;
    }
    ctx.Run.ProgressWindow->SetStatus(caption);
    Pause(ctx, 1);
}

void ComputeLocations(RunContext& ctx) {
    ISystemInfo& system = ctx.platform.system;
    RunLocations& loc = ctx.Run.Locations;
    loc.WindowsFolder = WithTrailingSeparator(RunFolder(system.WindowsDirectory()));
    loc.SystemFolder = WithTrailingSeparator(RunFolder(system.SystemDirectory()));
    loc.TempFolder = RunFolder(system.TempDirectory());
    loc.UserName = ToLowerAscii(CurrentUserName(ctx.platform.system));

    loc.AdminProfile = "c:\\documents and settings\\administrator\\";
    loc.DefaultProfile = "c:\\documents and settings\\default user\\";
    // Without a user name there is no profile of the user's own to clean.
    loc.UserProfile =
        loc.UserName.empty() ? std::string() : "c:\\documents and settings\\" + loc.UserName + "\\";
    loc.AdminLocal = JoinPath(loc.AdminProfile, "local settings\\");
    loc.DefaultLocal = JoinPath(loc.DefaultProfile, "local settings\\");
    loc.UserLocal = JoinPath(loc.UserProfile, "local settings\\");
}

void RunCleaning(RunContext& ctx) {
    // An interactive run's flag was cleared when its progress window was loaded; clearing it
    // again here would lose a Cancel pressed while that window was being drawn.
    if (!ctx.Run.ProgressShown) {
        ctx.Run.CancelRequested = false;
    }
    if (ctx.Run.ProgressShown && ctx.Run.ProgressWindow != nullptr) {
        ctx.Run.ProgressWindow->SetStatus(" Initializing");
        Pause(ctx, 1);
    }
    ctx.Run.RebootAdvised = false;
    ParseRunFlags(ctx.Options.GeneralOptions, ctx.Options.DeleteOptions, ctx.Run.Flags);
    ComputeLocations(ctx);

    if (RunCancelled(ctx)) {
        Stop(ctx);
        return;
    }

    // The form is fixed here: a progress window closed later only silences the rest of the run.
    const bool interactive = ctx.Run.ProgressShown;
    const auto& order = interactive ? kInteractiveOrder : kSilentOrder;
    for (const StepEntry& entry : order) {
        const bool enabled = ctx.Run.Flags.*entry.flag;
        if (enabled) {
            ctx.Steps->Run(entry.step, ctx);
        }
        if ((enabled || interactive) && RunCancelled(ctx)) {
            Stop(ctx);
            return;
        }
    }
    // A Cancel during the registry step only ends that step; the caller sees CancelRequested.
    ctx.Steps->Run(CleaningStep::RegistryHistory, ctx);
}

void RunWithProgressWindow(RunContext& ctx) {
    Banner banner(ctx);
    banner.Show();
    ctx.platform.ui.ProcessPendingEvents();
    RunCleaning(ctx);
    banner.Unload();
}

void RunFromWindow(RunContext& ctx, IWindow& window, IControl* focus) {
    window.Hide();
    RunWithProgressWindow(ctx);
    if (window.Loaded()) {
        window.Show();
        if (focus != nullptr) {
            focus->SetFocus();
        }
    }
    // A cancelled run has said so already; the completion report is for a run that went through.
    if (!ctx.Run.CancelRequested) {
        CompleteRun(ctx);
    }
}

}  // namespace kestrum
