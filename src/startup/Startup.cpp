#include "startup/Startup.h"

#include "common/Path.h"
#include "common/Text.h"
#include "engine/RunDriver.h"
#include "settings/ListFile.h"
#include "settings/Settings.h"
#include "startup/KestrumModule.h"
#include "ui/options/OptionsWindow.h"
#include "ui/options/RunVerify.h"

namespace kestrum {

bool DetectWindowsNT(KestrumModule& module) {
    const std::optional<WindowsVersion> version = module.platform.system.Version();
    const bool isNt = version && version->isNt;
    module.Startup.WindowsBuild = isNt ? static_cast<std::int32_t>(version->build) : 0;
    return isNt;
}

std::string BuildStartupCommand(const std::string& programFolder, const std::string& exeName) {
    // Plain concatenation: a program in a drive root gets a doubled separator, which the
    // platform accepts and which every reader of the entry compares against this very text.
    return ToLowerAscii(programFolder + "\\" + exeName + ".exe " + kStartupArgument);
}

void HideFromTaskList(KestrumModule& module, bool hide) {
    // Only Windows 95/98/ME has the registration; elsewhere the call reports it missing.
    module.platform.system.RegisterServiceProcess(hide);
    module.platform.application.SetTaskListVisible(!hide);
}

void InitializeStartupState(KestrumModule& module) {
    const Platform& p = module.platform;

    StartupState& startup = module.Startup;
    startup.IsWindowsNT = DetectWindowsNT(module);
    module.Run.ProgressShown = false;

    module.Options.GeneralOptions = ReadGeneralOptions(p.settings);
    module.Options.DeleteOptions = ReadDeleteOptions(p.settings);

    const std::string folder = p.application.ExecutableFolder();
    startup.StartupCommand = BuildStartupCommand(folder, p.application.ExecutableName());

    // A folder without a drive letter (a network path) leaves the current directory as it was.
    if (folder.size() >= 2 && p.files.ChangeDrive(folder.substr(0, 2))) {
        p.files.ChangeDirectory(folder);
    }

    const std::string current = p.files.CurrentDirectory();
    startup.ListFilePath = JoinPath(current, kListFileName);

    LoadSelectedFiles(p.files, startup.ListFilePath, module.Options);
}

StartupOutcome Main(KestrumModule& module) {
    InitializeStartupState(module);

    const Platform& p = module.platform;
    const std::string& command = module.Startup.CommandLine = p.application.CommandLine();

    if (command == kRunArgument) {
        module.Window = std::make_unique<RunVerify>(module.Context, module.Options);
        module.Window->Show();
        return StartupOutcome::WindowShown;
    }
    if (command == kStartupArgument) {
        HideFromTaskList(module, true);
        RunCleaning(module.Context);
        return StartupOutcome::Ended;
    }
    if (p.application.PreviousInstance()) {
        p.ui.ShowMessage(kAlreadyRunningMessage, p.application.Title(), MessageButtons::Ok,
                         MessageIcon::None);
        return StartupOutcome::Ended;
    }
    HideFromTaskList(module, false);
    // The options window shows the splash itself while it loads.
    module.Window = std::make_unique<OptionsWindow>(module.Context, module.Options);
    module.Window->Show();
    return StartupOutcome::WindowShown;
}

}  // namespace kestrum
