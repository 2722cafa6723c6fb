#include "shortcuts/ShortcutMaintenance.h"

#include "common/Path.h"
#include "common/Text.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"

namespace kestrum {

namespace {

constexpr std::size_t kWindowsFolderBufferChars = 256;
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

bool IsFile(KestrumModule& module, const std::string& path) {
    const auto attributes = module.platform.files.Attributes(path);
    return attributes && (*attributes & attr::kDirectory) == 0;
}

// The link as fCreateShellLink leaves it in the Programs folder.
std::string ProgramsLink(const std::string& profile, const std::string& name) {
    return JoinPath(profile, kPrograms + name + ".lnk");
}

// A move that fails (a link already there) leaves the new link in the Programs folder.
void MoveLink(KestrumModule& module, const std::string& from, const std::string& to) {
    if (!from.empty() && !to.empty()) {
        module.platform.files.Move(from, to);
    }
}

}  // namespace

std::string QueryWindowsFolder(KestrumModule& module) {
    return WithoutTrailingSeparator(
        module.platform.system.WindowsDirectory(kWindowsFolderBufferChars).value_or(""));
}

std::string CurrentProfileFolder(KestrumModule& module) {
    const std::string windows = QueryWindowsFolder(module);
    if (!module.IsWindowsNT) {
        return WithTrailingSeparator(windows);
    }
    return NtProfile(DriveOf(windows), CurrentUserName(module));
}

std::string AllUsersProfileFolder(KestrumModule& module) {
    const std::string windows = QueryWindowsFolder(module);
    if (!module.IsWindowsNT) {
        return WithTrailingSeparator(windows);
    }
    return NtProfile(DriveOf(windows), "All Users");
}

std::string QuickLaunchShortcutPath(KestrumModule& module, const std::string& name) {
    return JoinPath(CurrentProfileFolder(module), kQuickLaunch + name + ".lnk");
}

std::string FindDesktopShortcut(KestrumModule& module, const std::string& name) {
    const std::string file = "Desktop\\" + name + ".lnk";
    const std::string windows = QueryWindowsFolder(module);
    if (module.IsWindowsNT) {
        for (const std::string& account :
             {std::string("Administrator"), std::string("All Users"), std::string("Default User"),
              CurrentUserName(module)}) {
            const std::string profile = NtProfile(DriveOf(windows), account);
            if (!profile.empty() && IsFile(module, profile + file)) {
                return profile + file;
            }
        }
    }
    return JoinPath(windows, file);
}

void DeleteDesktopShortcut(KestrumModule& module, const std::string& name) {
    const std::string path = FindDesktopShortcut(module, name);
    if (!path.empty()) {
        module.platform.files.RemoveFile(path);  // a missing file is no error
    }
}

void CreateDesktopShortcut(KestrumModule& module, const std::string& /*folder*/,
                           const std::string& name, const std::string& target,
                           const std::string& arguments) {
    if (fCreateShellLink(module, "", name, target, arguments) == 0) {
        module.platform.ui.ShowMessage("Unable to create shortcut for " + target + ".",
                                       module.platform.application.Title(), MessageButtons::Ok,
                                       MessageIcon::Information);
        return;
    }
    DeleteDesktopShortcut(module, name);
    const std::string profile = CurrentProfileFolder(module);
    MoveLink(module, ProgramsLink(profile, name), JoinPath(profile, "Desktop\\" + name + ".lnk"));
}

void CreateQuickLaunchShortcut(KestrumModule& module, const std::string& /*folder*/,
                               const std::string& name, const std::string& target,
                               const std::string& arguments) {
    if (fCreateShellLink(module, "", name, target, arguments) == 0) {
        return;
    }
    MoveLink(module, ProgramsLink(CurrentProfileFolder(module), name),
             QuickLaunchShortcutPath(module, kCleanNowShortcut));
}

std::int32_t fCreateShellLink(KestrumModule& module, const std::string& folder,
                              const std::string& name, const std::string& target,
                              const std::string& arguments) {
    const std::string profile = CurrentProfileFolder(module);
    if (profile.empty()) {
        return 0;
    }
    const std::string programs = WithTrailingSeparator(JoinPath(profile, kPrograms + folder));
    return module.platform.shell.CreateShellLink(programs + name + ".lnk", target, arguments) ? 1 : 0;
}

}  // namespace kestrum
