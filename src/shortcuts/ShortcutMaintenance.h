#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "settings/StartupState.h"

namespace kestrum {

// What the shortcut routines work with: the services and the start-up facts.
struct ShortcutContext {
    const Platform& platform;
    const StartupState& Startup;
};

inline constexpr char kCleanNowShortcut[] = "Clean Now";

// The "Clean Now" shortcuts on the desktop and in the Quick Launch bar, in profile folders
// derived from the Windows folder's drive and the user name. Every folder ends with "\"; a
// folder that cannot be derived (no Windows folder, or no user name on the NT family) is empty,
// and nothing is then looked for, made, moved or deleted on it.

// The Windows folder without a trailing "\"; empty when unknown or longer than 255 characters.
std::string QueryWindowsFolder(const ShortcutContext& ctx);
std::string CurrentProfileFolder(const ShortcutContext& ctx);
std::string AllUsersProfileFolder(const ShortcutContext& ctx);
std::string QuickLaunchShortcutPath(const ShortcutContext& ctx, const std::string& name);
// The first existing desktop shortcut of that name (the Administrator's, All Users', Default
// User's, then the user's own on the NT family), else the Windows folder's desktop.
std::string FindDesktopShortcut(const ShortcutContext& ctx, const std::string& name);
void DeleteDesktopShortcut(const ShortcutContext& ctx, const std::string& name);
// The folder argument is not used: links are always made in the Programs folder first.
void CreateDesktopShortcut(const ShortcutContext& ctx, const std::string& folder,
                           const std::string& name, const std::string& target,
                           const std::string& arguments);
void CreateQuickLaunchShortcut(const ShortcutContext& ctx, const std::string& folder,
                               const std::string& name, const std::string& target,
                               const std::string& arguments);

// Makes the link `name`.lnk in the user's Start Menu Programs folder (below `folder`, relative to
// it) through the shell. Non-zero on success.
std::int32_t fCreateShellLink(const ShortcutContext& ctx, const std::string& folder,
                              const std::string& name, const std::string& target,
                              const std::string& arguments);

}  // namespace kestrum
