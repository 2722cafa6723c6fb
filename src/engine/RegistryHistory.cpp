#include "engine/RegistryHistory.h"

#include "common/Text.h"
#include "engine/RunContext.h"
#include "engine/RunDriver.h"
#include "registry/RegistryModule.h"

namespace kestrum {

namespace {

constexpr RegistryHive kUser = RegistryHive::CurrentUser;
constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
constexpr RegistryHive kUsers = RegistryHive::Users;

constexpr char kTypedUrls[] = "software\\microsoft\\internet explorer\\typedurls";
constexpr char kDocFind[] =
    "software\\microsoft\\windows\\currentversion\\explorer\\doc find spec mru";
// Where the search bar of Windows 2000 and XP keeps its two lists.
constexpr char kSearchBar[] =
    "software\\microsoft\\internet explorer\\explorer "
    "bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";
constexpr char kSearchAssistant[] = "software\\microsoft\\search assistant\\acmru";
constexpr char kRunDialog[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr char kLastVisited[] =
    "software\\microsoft\\windows\\currentversion\\explorer\\comdlg32\\lastvisitedmru";
// The file dialogs keep their opened and saved files under OpenSaveMRU; no "opensavedmru" key
// exists on any Windows, so that spelling would leave the list untouched.
constexpr char kOpenSaved[] =
    "software\\microsoft\\windows\\currentversion\\explorer\\comdlg32\\opensavemru";
constexpr char kMediaPlayer[] = "software\\microsoft\\mediaplayer\\player\\recentfilelist";
constexpr char kStreamingPlayer[] = "Software\\RealNetworks\\RealPlayer\\6.0\\Preferences";
constexpr char kRecentClipsPrefix[] = "mostrecentclips";
constexpr char kMoviePlayer[] = "software\\apple computer, inc.\\quicktime\\recent movies";
constexpr const char* kLastLists[] = {
    "software\\microsoft\\visual basic\\5.0\\recentfiles",
    "software\\microsoft\\visual basic\\6.0\\recentfiles",
    "software\\microsoft\\windows\\currentversion\\applets\\paint\\recent file list",
    "software\\nico mak computing\\winzip\\filemenu",
};
constexpr char kClassesSuffix[] = "_classes";

// One run of the step: the user's hive and the cancellation check. The lists are the user's to
// change, and a link planted in one must not carry the step into a key of somebody else's.
class HistoryStep {
  public:
    explicit HistoryStep(RunContext& ctx)
        : ctx_(ctx), registry_(ctx.platform.registry, KeyLinks::NotFollowed) {}

    void Run();

  private:
    bool Cancelled() { return RunCancelled(ctx_); }
    bool HasUserHive() const { return !userHive_.empty(); }
    // The path of a list inside the user's hive, below HKEY_USERS.
    std::string InUserHive(const std::string& path) const { return userHive_ + "\\" + path; }

    // Clears a list under HKEY_CURRENT_USER, checks, then in the user's hive, checks. True once
    // the run is cancelled.
    bool ClearTwice(const std::string& path);
    // Lists the subkeys of a key in one hive, checking once more right after the listing when
    // asked, and hands each non-empty name to `act`, checking after each. True once cancelled.
    template <typename Act>
    bool EachSubkey(RegistryHive hive, const std::string& path, bool checkAfterListing, Act act);
    // Clears every subkey's list of a key in one hive; true once cancelled.
    bool ClearSubkeyLists(RegistryHive hive, const std::string& path, bool checkAfterListing);
    bool ClearSearchLists();
    bool ClearOpenSaved();
    bool DeleteRecentClips();

    RunContext& ctx_;
    RegistryModule registry_;
    std::string userHive_;
};

bool HistoryStep::ClearTwice(const std::string& path) {
    ClearMruKey(ctx_, kUser, path);
    if (Cancelled()) {
        return true;
    }
    // Without a hive name the path would begin with a separator and name nothing sensible.
    if (HasUserHive()) {
        ClearMruKey(ctx_, kUsers, InUserHive(path));
    }
    return Cancelled();
}

template <typename Act>
bool HistoryStep::EachSubkey(RegistryHive hive, const std::string& path, bool checkAfterListing,
                             Act act) {
    const auto names = registry_.EnumRegistryKeys(hive, path);
    if (checkAfterListing && Cancelled()) {
        return true;
    }
    if (IsRegistryError(names)) {
        return false;
    }
    for (const std::string& name : names) {
        if (name.empty()) {
            continue;
        }
        act(name);
        if (Cancelled()) {
            return true;
        }
    }
    return false;
}

bool HistoryStep::ClearSubkeyLists(RegistryHive hive, const std::string& path,
                                   bool checkAfterListing) {
    return EachSubkey(hive, path, checkAfterListing, [&](const std::string& name) {
        ClearMruKey(ctx_, hive, path + "\\" + name);
    });
}

bool HistoryStep::ClearSearchLists() {
    if (!ctx_.Startup.IsWindowsNT) {
        ClearMruKey(ctx_, kUser, kDocFind);
        if (Cancelled()) {
            return true;
        }
        ClearMruKey(ctx_, kUsers, std::string(".default\\") + kDocFind);
        return Cancelled();
    }
    const std::string filesNamed = std::string(kSearchBar) + "filesnamedmru";
    const std::string containingText = std::string(kSearchBar) + "containingtextmru";
    for (const std::string* path : {&filesNamed, &containingText}) {
        ClearMruKey(ctx_, kUser, *path);
        if (Cancelled()) {
            return true;
        }
    }
    for (const std::string* path : {&filesNamed, &containingText}) {
        if (HasUserHive()) {
            ClearMruKey(ctx_, kUsers, InUserHive(*path));
        }
        if (Cancelled()) {
            return true;
        }
    }
    if (ClearSubkeyLists(kUser, kSearchAssistant, false)) {
        return true;
    }
    if (!HasUserHive()) {
        return Cancelled();
    }
    return ClearSubkeyLists(kUsers, InUserHive(kSearchAssistant), true);
}

bool HistoryStep::ClearOpenSaved() {
    // The subkeys are those of HKEY_CURRENT_USER; the user's hive loses the same ones.
    return EachSubkey(kUser, kOpenSaved, false, [&](const std::string& name) {
        if (name == "*") {
            ClearMruKey(ctx_, kUser, std::string(kOpenSaved) + "\\*");
            if (HasUserHive()) {
                ClearMruKey(ctx_, kUsers, InUserHive(kOpenSaved) + "\\*");
            }
        } else {
            registry_.DeleteRegistryKey(kUser, kOpenSaved, name);
            if (HasUserHive()) {
                registry_.DeleteRegistryKey(kUsers, InUserHive(kOpenSaved), name);
            }
        }
    });
}

bool HistoryStep::DeleteRecentClips() {
    return EachSubkey(kUser, kStreamingPlayer, false, [&](const std::string& name) {
        if (ToLowerAscii(name.substr(0, 15)) == kRecentClipsPrefix) {
            registry_.DeleteRegistryKey(kUser, kStreamingPlayer, name);
            if (HasUserHive()) {
                registry_.DeleteRegistryKey(kUsers, InUserHive(kStreamingPlayer), name);
            }
        }
    });
}

void HistoryStep::Run() {
    const RunFlags& flags = ctx_.Run.Flags;
    if (ctx_.Run.ProgressShown && (flags.DeleteHistory || flags.DeleteRecent)) {
        ShowStep(ctx_, " Final clean up");
    }
    userHive_ = UserHiveKey(registry_.EnumRegistryKeys(kUsers, ""));
    if (Cancelled()) {
        return;
    }
    if (flags.DeleteHistory && ClearTwice(kTypedUrls)) {
        return;
    }
    if (!flags.DeleteRecent) {
        return;
    }
    if (ClearSearchLists() || ClearTwice(kRunDialog) || ClearTwice(kLastVisited) ||
        ClearOpenSaved()) {
        return;
    }
    ClearMruKey(ctx_, kUser, kMediaPlayer);
    if (Cancelled() || DeleteRecentClips() || Cancelled()) {
        return;
    }
    ClearMruKey(ctx_, kMachine, kMoviePlayer);
    for (const char* path : kLastLists) {
        if (Cancelled()) {
            return;
        }
        ClearMruKey(ctx_, kUser, path);
    }
}

}  // namespace

std::string UserHiveKey(const std::vector<std::string>& usersSubkeys) {
    if (IsRegistryError(usersSubkeys)) {
        return std::string();
    }
    std::string longest;
    for (const std::string& name : usersSubkeys) {
        if (name.size() > longest.size()) {
            longest = name;
        }
    }
    const std::size_t suffix = sizeof(kClassesSuffix) - 1;
    if (longest.size() >= suffix &&
        ToLowerAscii(longest.substr(longest.size() - suffix)) == kClassesSuffix) {
        longest.resize(longest.size() - suffix);
    }
    return longest;
}

void ClearMruKey(RunContext& ctx, RegistryHive hive, const std::string& path) {
    RegistryModule registry(ctx.platform.registry, KeyLinks::NotFollowed);
    const auto names = registry.EnumRegistryValues(hive, path);
    if (IsRegistryError(names)) {
        return;
    }
    for (const std::string& name : names) {
        if (ToLowerAscii(name).find("mru") != std::string::npos) {
            registry.SetRegistryValue(hive, path, name, regtype::kText, std::string());
        } else {
            registry.DeleteRegistryValue(hive, path, name);
        }
        if (RunCancelled(ctx)) {
            return;
        }
    }
}

void ClearRegistryHistory(RunContext& ctx) {
    HistoryStep(ctx).Run();
}

}  // namespace kestrum
