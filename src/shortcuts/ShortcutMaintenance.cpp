#include "shortcuts/ShortcutMaintenance.h"

#include "common/Path.h"
#include "common/Text.h"
#include "settings/StartupState.h"

namespace kestrum {

namespace {

// The longest Windows folder the shortcut routines take.
constexpr std::size_t kLongestWindowsFolder = 255;
constexpr char kProfiles[] = "Documents and Settings\\";
constexpr char kQuickLaunch[] = "Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\";
constexpr char kPrograms[] = "Start Menu\\Programs\\";

// "C:\" of "C:\WINDOWS"; empty when the Windows folder is unknown.
std::string DriveOf(const std::string& windowsFolder) {
    return windowsFolder.size() >= 3 ? windowsFolder.substr(0, 3) : std::string();
}

// The NT profile folder of one account, or empty when the drive or the account is unknown.
std::string NtProfile(const std::string& drive, const std::string& account) {
    if (account.empty()) {
        return std::string();
    }
    return JoinPath(drive, kProfiles + account + "\\");
}

bool IsFile(const ShortcutContext& ctx, const std::string& path) {
    const auto attributes = ctx.platform.files.Attributes(path);
    return attributes && (*attributes & attr::kDirectory) == 0;
}

// The link as fCreateShellLink leaves it in the Programs folder.
std::string ProgramsLink(const std::string& profile, const std::string& name) {
    return JoinPath(profile, kPrograms + name + ".lnk");
}

// A move that fails (a link already there) leaves the new link in the Programs folder.
void MoveLink(const ShortcutContext& ctx, const std::string& from, const std::string& to) {
    if (!from.empty() && !to.empty()) {
        ctx.platform.files.Move(from, to);
    }
}

}  // namespace

std::string QueryWindowsFolder(const ShortcutContext& ctx) {
    const std::optional<std::string> folder = ctx.platform.system.WindowsDirectory();
    if (!folder || CharacterCount(*folder) > kLongestWindowsFolder) {
        return std::string();
    }
    return WithoutTrailingSeparator(*folder);
}

std::string CurrentProfileFolder(const ShortcutContext& ctx) {
    const std::string windows = QueryWindowsFolder(ctx);
    if (!ctx.Startup.IsWindowsNT) {
        return WithTrailingSeparator(windows);
    }
    return NtProfile(DriveOf(windows), CurrentUserName(ctx.platform.system));
}

std::string AllUsersProfileFolder(const ShortcutContext& ctx) {
    const std::string windows = QueryWindowsFolder(ctx);
    if (!ctx.Startup.IsWindowsNT) {
        return WithTrailingSeparator(windows);
    }
    return NtProfile(DriveOf(windows), "All Users");
}

std::string QuickLaunchShortcutPath(const ShortcutContext& ctx, const std::string& name) {
    return JoinPath(CurrentProfileFolder(ctx), kQuickLaunch + name + ".lnk");
}

std::string FindDesktopShortcut(const ShortcutContext& ctx, const std::string& name) {
    const std::string file = "Desktop\\" + name + ".lnk";
    const std::string windows = QueryWindowsFolder(ctx);
    if (ctx.Startup.IsWindowsNT) {
        for (const std::string& account :
             {std::string("Administrator"), std::string("All Users"), std::string("Default User"),
              CurrentUserName(ctx.platform.system)}) {
            const std::string profile = NtProfile(DriveOf(windows), account);
            if (!profile.empty() && IsFile(ctx, profile + file)) {
                return profile + file;
            }
        }
    }
    return JoinPath(windows, file);
}

void DeleteDesktopShortcut(const ShortcutContext& ctx, const std::string& name) {
    const std::string path = FindDesktopShortcut(ctx, name);
    if (!path.empty()) {
        ctx.platform.files.RemoveFile(path);  // a missing file is no error
    }
}

void CreateDesktopShortcut(const ShortcutContext& ctx, const std::string& /*folder*/,
                           const std::string& name, const std::string& target,
                           const std::string& arguments) {
    if (fCreateShellLink(ctx, "", name, target, arguments) == 0) {
        ctx.platform.ui.ShowMessage("Unable to create shortcut for " + target + ".",
                                    ctx.platform.application.Title(), MessageButtons::Ok,
                                    MessageIcon::Information);
        return;
    }
    DeleteDesktopShortcut(ctx, name);
    const std::string profile = CurrentProfileFolder(ctx);
    MoveLink(ctx, ProgramsLink(profile, name), JoinPath(profile, "Desktop\\" + name + ".lnk"));
}

void CreateQuickLaunchShortcut(const ShortcutContext& ctx, const std::string& /*folder*/,
                               const std::string& name, const std::string& target,
                               const std::string& arguments) {
    if (fCreateShellLink(ctx, "", name, target, arguments) == 0) {
        return;
    }
    MoveLink(ctx, ProgramsLink(CurrentProfileFolder(ctx), name),
             QuickLaunchShortcutPath(ctx, kCleanNowShortcut));
}

std::int32_t fCreateShellLink(const ShortcutContext& ctx, const std::string& folder,
                              const std::string& name, const std::string& target,
                              const std::string& arguments) {
    const std::string profile = CurrentProfileFolder(ctx);
    if (profile.empty()) {
        return 0;
    }
    const std::string programs = WithTrailingSeparator(JoinPath(profile, kPrograms + folder));
    return ctx.platform.shell.CreateShellLink(programs + name + ".lnk", target, arguments) ? 1 : 0;
}

}  // namespace kestrum
