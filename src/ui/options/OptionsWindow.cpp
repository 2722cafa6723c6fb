#include "ui/options/OptionsWindow.h"

#include <initializer_list>
#include <utility>
#include <variant>

#include "common/Text.h"
#include "engine/Completion.h"
#include "engine/RunDriver.h"
#include "registry/RegistryModule.h"
#include "settings/ListFile.h"
#include "settings/OptionFlags.h"
#include "settings/Settings.h"
#include "shortcuts/ShortcutMaintenance.h"
#include "ui/options/SplashScreen.h"

namespace kestrum {

namespace {

constexpr int kGeneralTab = 0;
constexpr int kDeleteTab = 1;

// The layout, in twips of the client area. Every caption is measured against its place by the
// tests; the rows leave room for the larger check mark of 144 dpi.
constexpr int kClientWidth = 7080;
constexpr int kClientHeight = 6120;
constexpr TwipsRect kTabsPlace{120, 120, 6840, 5340};
constexpr int kPageTop = 600;
constexpr int kBoxLeft = 360;
constexpr int kIndentedLeft = 660;
constexpr int kBoxRight = 6720;
constexpr int kBoxHeight = 255;
constexpr int kGeneralRow = 360;
constexpr int kDeleteRow = 300;
constexpr FileListLayout kListLayout{{660, 3615, 4500, 1680}, 5280, 1440, 375, 60};
constexpr int kButtonTop = 5580;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;
constexpr TwipsRect kHelpPlace{120, 5535, 450, 450};

}  // namespace

OptionsWindow::OptionsWindow(RunContext& ctx, OptionState& options) : ctx_(ctx), options_(options) {
    window_ = ctx_.platform.ui.CreateTopWindow("Options", kOptionsWindowTitle, kClientWidth,
                                               kClientHeight);
    CreateControls();
    Load();
}

OptionsWindow::~OptionsWindow() = default;

ICheckBox& OptionsWindow::AddBox(const std::string& name, int top, int indent,
                                 const std::string& caption, int tab) {
    ICheckBox& box =
        window_->AddCheckBox(name, {indent, top, kBoxRight - indent, kBoxHeight}, caption);
    tabs_->Place(box, tab);
    return box;
}

void OptionsWindow::CreateControls() {
    IWindow& w = *window_;
    // Creation order is the Tab order: top to bottom, then the buttons below the tabs.
    tabs_ = &w.AddTabs("SSTab1", kTabsPlace, {"General Options", "Delete Options"});

    int top = kPageTop;
    const auto nextGeneral = [&top] { return std::exchange(top, top + kGeneralRow); };
    gOptions_[1] = &AddBox("gOptions(1)", nextGeneral(), kBoxLeft,
                           "&Perform Kestrum when Windows starts?", kGeneralTab);
    gOptions_[2] = &AddBox("gOptions(2)", nextGeneral(), kBoxLeft,
                           "Add CleanNow shortcut to your &desktop?", kGeneralTab);
    gOptions_[4] = &AddBox("gOptions(4)", nextGeneral(), kBoxLeft,
                           "Add CleanNow shortcut to &Quick Launch bar?", kGeneralTab);
    splash_ = &AddBox("SplashCheck", nextGeneral(), kBoxLeft, "Displa&y splash screen at StartUp?",
                      kGeneralTab);
    gOptions_[3] =
        &AddBox("gOptions(3)", nextGeneral(), kBoxLeft, "Co&mpletely wipe files?", kGeneralTab);
    ILabel& note = w.AddLabel(
        "Label1",
        {kIndentedLeft, top - kGeneralRow + kBoxHeight + 30, kBoxRight - kIndentedLeft, kBoxHeight},
        "(Note:  requires significantly more time to execute)");
    tabs_->Place(note, kGeneralTab);

    const DeleteBoxesLayout boxes{kPageTop,  kBoxLeft,   kIndentedLeft,
                                  kBoxRight, kDeleteRow, kBoxHeight};
    deleteBoxes_ = std::make_unique<DeleteBoxes>(
        w, boxes, kPrefetchCaption, [this](ICheckBox& box) { tabs_->Place(box, kDeleteTab); });
    fileList_ =
        std::make_unique<FileListEditor>(ctx_.platform, w, kListLayout, ctx_.Startup.IsWindowsNT,
                                         static_cast<IFileListHost&>(*this));
    for (IControl* control : fileList_->Controls()) {
        tabs_->Place(*control, kDeleteTab);
    }

    about_ = std::make_unique<AboutOpener>(ctx_.platform, w, kHelpPlace);
    const int right = kTabsPlace.left + kTabsPlace.width;
    const auto buttonAt = [&](int fromRight) {
        return TwipsRect{right - fromRight * kButtonWidth - (fromRight - 1) * 120, kButtonTop,
                         kButtonWidth, kButtonHeight};
    };
    saveButton_ = &w.AddPushButton("saveButton", buttonAt(3), "&Save");
    runButton_ = &w.AddPushButton("runButton", buttonAt(2), "Clean &Now");
    cancelButton_ = &w.AddPushButton("cancelButton", buttonAt(1), "&Close");
    saveButton_->SetEnabled(false);
    runButton_->SetEnabled(false);
    w.SetDefaultButton(cancelButton_);

    for (ICheckBox* box : {gOptions_[1], gOptions_[2], gOptions_[3], gOptions_[4], splash_}) {
        box->SetOnClick([this] { MarkChanged(); });
    }
    deleteBoxes_->SetOnBoxClick([this](int index) { DeleteBoxClicked(index); });
    tabs_->SetOnSelect([this](int previous) {
        if (previous == kGeneralTab) {
            DeleteBox(1).SetFocus();
        } else if (previous == kDeleteTab) {
            GeneralBox(1).SetFocus();
        }
    });
    saveButton_->SetOnClick([this] { Save(); });
    runButton_->SetOnClick([this] { CleanNow(); });
    cancelButton_->SetOnClick([this] { window_->Unload(); });
    w.SetOnKeyPreview([this](const KeyEvent& key) { return KeyPreview(key); });
    w.SetOnQueryUnload([this](CloseReason) { return QueryClose(); });
}

void OptionsWindow::Load() {
    const Platform& p = ctx_.platform;
    const bool showSplash = ReadShowSplash(p.settings);
    if (showSplash) {
        SplashScreen(p).ShowModal();
    }
    splash_->SetValue(showSplash);

    fileList_->Fill(options_);

    const StartupState& startup = ctx_.Startup;
    const bool defined = ReadDefined(p.settings);
    if (!defined) {
        GeneralBox(1).SetValue(true);
        GeneralBox(2).SetValue(true);
    } else {
        GeneralBox(1).SetValue(StartupEntryPresent());
        GeneralBox(2).SetValue(DesktopShortcutPresent());
    }
    const ShortcutContext shortcuts{p, startup};
    GeneralBox(4).SetValue(
        p.files.FileExists(QuickLaunchShortcutPath(shortcuts, kCleanNowShortcut)));

    bool wipe = false;
    ApplyFlag(options_.GeneralOptions, general::kWipeFiles, wipe);
    GeneralBox(3).SetValue(wipe);
    deleteBoxes_->Load(startup, options_.DeleteOptions);
    if (defined) {
        MarkSaved();
    }
    tabs_->Select(kGeneralTab);
    deleteWarningGiven_ = false;
}

bool OptionsWindow::StartupEntryPresent() {
    RegistryModule& registry = ctx_.Registry;
    const std::string key = StartupKeyPath(ctx_);
    RegistryRead stored =
        registry.GetRegistryValue(RegistryHive::LocalMachine, key, kStartupValueName);
    if (IsRegistryError(stored)) {
        stored = registry.GetRegistryValue(RegistryHive::CurrentUser, key, kStartupValueName);
    }
    const auto* text = std::get_if<std::string>(&stored);
    return text != nullptr && !IsRegistryError(stored) &&
           ToLowerAscii(WithoutTerminator(*text)) == ctx_.Startup.StartupCommand;
}

bool OptionsWindow::DesktopShortcutPresent() {
    const ShortcutContext shortcuts{ctx_.platform, ctx_.Startup};
    const std::string link = std::string("Desktop\\") + kCleanNowShortcut + ".lnk";
    IFileSystem& files = ctx_.platform.files;
    // A profile folder the platform cannot give names no shortcut.
    for (const std::string& profile :
         {CurrentProfileFolder(shortcuts), AllUsersProfileFolder(shortcuts)}) {
        if (!profile.empty() && files.FileExists(profile + link)) {
            return true;
        }
    }
    return false;
}

void OptionsWindow::Show() {
    window_->Show();
}

void OptionsWindow::CollectOptions() {
    options_.GeneralOptions =
        BuildFlagString({GeneralBox(1).Value(), GeneralBox(2).Value(), GeneralBox(3).Value()});
    options_.DeleteOptions = deleteBoxes_->Collect();
    const std::vector<std::string> entries = fileList_->Entries();
    options_.SelectedFiles.assign(1, std::string());
    options_.SelectedFiles.insert(options_.SelectedFiles.end(), entries.begin(), entries.end());
    options_.SelectedFileCount = static_cast<std::int16_t>(entries.size());
}

bool OptionsWindow::Save() {
    CollectOptions();
    if (!deleteWarningGiven_ && options_.DeleteOptions == kNoDeleteOptions) {
        tabs_->Select(kDeleteTab);
        ctx_.platform.ui.ShowMessage(kNoDeleteOptionsWarning, kDeleteOptionsTitle,
                                     MessageButtons::Ok, MessageIcon::Exclamation);
        // Saving again without touching a delete box saves the empty choice.
        deleteWarningGiven_ = true;
        return false;
    }
    WriteStartupEntry();
    WriteShortcuts();
    IFileSystem& files = ctx_.platform.files;
    const std::string& listPath = ctx_.Startup.ListFilePath;
    const bool listWritten = WriteListFile(files, listPath, fileList_->Entries());
    const bool settingsWritten =
        SaveSettings(ctx_.platform.settings,
                     {options_.GeneralOptions, options_.DeleteOptions, splash_->Value(), "Yes"});
    if (!listWritten || !settingsWritten) {
        // Said nowhere, the failure would let the user close the window believing the choices
        // kept (a program folder under Program Files is not writable for a standard user).
        // The window counts as changed, so that closing it asks again.
        MarkChanged();
        ctx_.platform.ui.ShowMessage(listWritten ? std::string(kSettingsNotWrittenMessage)
                                                 : kListNotWrittenMessage + listPath,
                                     kOptionsWindowTitle, MessageButtons::Ok,
                                     MessageIcon::Exclamation);
        return false;
    }
    MarkSaved();
    return true;
}

void OptionsWindow::WriteStartupEntry() {
    RegistryModule& registry = ctx_.Registry;
    const std::string key = StartupKeyPath(ctx_);
    const std::string& command = ctx_.Startup.StartupCommand;
    constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
    constexpr RegistryHive kUser = RegistryHive::CurrentUser;
    if (!GeneralBox(1).Value()) {
        registry.DeleteRegistryValue(kUser, key, kStartupValueName);
        registry.DeleteRegistryValue(kMachine, key, kStartupValueName);
        return;
    }
    if (ctx_.Startup.IsWindowsNT) {
        // On the NT family the entry belongs to the user.
        registry.DeleteRegistryValue(kMachine, key, kStartupValueName);
        registry.SetRegistryValue(kUser, key, kStartupValueName, regtype::kText, command);
    } else {
        registry.SetRegistryValue(kMachine, key, kStartupValueName, regtype::kText, command);
    }
    // A one-time entry a completed run left for the next start is covered by this one.
    registry.DeleteRegistryValue(kUser, key + "once", kStartupValueName);
    registry.DeleteRegistryValue(kMachine, key + "once", kStartupValueName);
}

void OptionsWindow::WriteShortcuts() {
    const Platform& p = ctx_.platform;
    const ShortcutContext shortcuts{p, ctx_.Startup};
    const std::string target =
        p.application.ExecutableFolder() + "\\" + p.application.ExecutableName() + ".exe";
    if (GeneralBox(2).Value()) {
        CreateDesktopShortcut(shortcuts, "", kCleanNowShortcut, target, kRunArgument);
    } else {
        DeleteDesktopShortcut(shortcuts, kCleanNowShortcut);
    }
    const std::string quickLaunch = QuickLaunchShortcutPath(shortcuts, kCleanNowShortcut);
    const bool present = p.files.FileExists(quickLaunch);
    if (GeneralBox(4).Value() && !present) {
        CreateQuickLaunchShortcut(shortcuts, "", "", target, kRunArgument);
    } else if (!GeneralBox(4).Value() && present) {
        p.files.RemoveFile(quickLaunch);
    }
}

void OptionsWindow::CleanNow() {
    // A second click that arrives while the run yields to window events must not start another.
    if (running_ || !window_->Loaded()) {
        return;
    }
    running_ = true;
    CollectOptions();
    RunFromWindow(ctx_, *window_, cancelButton_);
    running_ = false;
}

void OptionsWindow::DeleteBoxClicked(int index) {
    MarkChanged();
    deleteWarningGiven_ = false;
    if (index == static_cast<int>(del::kSelected)) {
        fileList_->UpdateControls();
    }
    runButton_->SetEnabled(deleteBoxes_->AnyTicked());
}

void OptionsWindow::MarkChanged() {
    saveButton_->SetEnabled(true);
    window_->SetDefaultButton(saveButton_);
}

void OptionsWindow::MarkSaved() {
    window_->SetDefaultButton(cancelButton_);
    saveButton_->SetEnabled(false);
}

void OptionsWindow::ListEdited() {
    saveButton_->SetEnabled(true);
}

ICheckBox& OptionsWindow::SelectedFilesBox() {
    return DeleteBox(static_cast<int>(del::kSelected));
}

void OptionsWindow::RestoreDefaultButton() {
    window_->SetDefaultButton(saveButton_->Enabled() ? saveButton_ : cancelButton_);
}

void OptionsWindow::ClearDefaultButton() {
    window_->SetDefaultButton(nullptr);
}

bool OptionsWindow::KeyPreview(const KeyEvent& key) {
    switch (key.key) {
        case keys::kEscape:
            if (!fileList_->CancelEntry()) {
                window_->Unload();
            }
            return true;
        case keys::kF1:
            about_->Show();
            return true;
        case keys::kF2:
            window_->SetState(WindowState::Minimized);
            return true;
        case keys::kF4:
            return fileList_->BrowseKey();
        default:
            return false;
    }
}

bool OptionsWindow::QueryClose() {
    if (!saveButton_->Enabled()) {
        return false;
    }
    switch (ctx_.platform.ui.ShowMessage(kOptionsChangedQuestion, kExitOptionsTitle,
                                         MessageButtons::YesNoCancel, MessageIcon::Question)) {
        case MessageAnswer::Yes:
            // The window closes even when Save stopped at its warning.
            Save();
            return false;
        case MessageAnswer::Cancel:
            return true;
        default:
            return false;
    }
}

}  // namespace kestrum
