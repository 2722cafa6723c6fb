#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/RunContext.h"
#include "platform/Ui.h"
#include "settings/StartupState.h"
#include "ui/controls/Button.h"
#include "ui/options/AboutBox.h"
#include "ui/options/DeleteBoxes.h"
#include "ui/options/FileListEditor.h"
#include "ui/options/ProgramWindow.h"

namespace kestrum {

inline constexpr char kOptionsWindowTitle[] = " Kestrum Options";
inline constexpr char kNoDeleteOptionsWarning[] = "Warning:  No delete options have been selected";
inline constexpr char kDeleteOptionsTitle[] = " Delete Options";
inline constexpr char kOptionsChangedQuestion[] =
    "The Kestrum options have changed.\r\n\r\n  Do you wish to save the changes?";
inline constexpr char kExitOptionsTitle[] = " Exit Options Entry";
inline constexpr char kListNotWrittenMessage[] =
    "The list of selected files could not be written to\r\n\r\n  ";
inline constexpr char kSettingsNotWrittenMessage[] = "The options could not be stored.";

// The main window of an interactive start: the general and delete options on two tabs, the
// selected-files list, Save, Clean Now, Close and the About box. It reads the settings and the
// machine's real start-up entry and shortcuts when it is made; Save writes them back, and the
// process-wide option strings and list follow the window at every Save and Clean Now.
class OptionsWindow final : public ProgramWindow, private IFileListHost {
  public:
    // `options` is the process-wide state that ctx.Options reads.
    OptionsWindow(RunContext& ctx, OptionState& options);
    OptionsWindow(const OptionsWindow&) = delete;
    OptionsWindow& operator=(const OptionsWindow&) = delete;
    ~OptionsWindow() override;

    void Show() override;
    IWindow& window() override { return *window_; }

    // Rebuilds the process-wide strings and list from the window.
    void CollectOptions();
    // False when it stopped at the warning that no delete option is chosen.
    bool Save();
    void CleanNow();

    ICheckBox& GeneralBox(int index) { return *gOptions_.at(static_cast<std::size_t>(index)); }
    ICheckBox& DeleteBox(int index) { return deleteBoxes_->Box(index); }
    ICheckBox& AllOptionsBox() { return deleteBoxes_->All(); }
    ICheckBox& SplashBox() { return *splash_; }
    ITabs& Tabs() { return *tabs_; }
    FileListEditor& FileList() { return *fileList_; }
    Button& helpButton() { return about_->button(); }
    // The About box while it is open, or nullptr.
    AboutBox* about() { return about_->open(); }

  private:
    void CreateControls();
    ICheckBox& AddBox(const std::string& name, int top, int indent, const std::string& caption,
                      int tab);
    void Load();
    bool StartupEntryPresent();
    bool DesktopShortcutPresent();
    void WriteStartupEntry();
    void WriteShortcuts();

    // After the cascade: a delete box's change marks the window changed and re-arms the warning.
    void DeleteBoxClicked(int index);
    void MarkChanged();
    void MarkSaved();
    bool KeyPreview(const KeyEvent& key);
    bool QueryClose();

    // IFileListHost
    void ListEdited() override;
    ICheckBox& SelectedFilesBox() override;
    void RestoreDefaultButton() override;
    void ClearDefaultButton() override;

    RunContext& ctx_;
    OptionState& options_;
    std::unique_ptr<IWindow> window_;
    ITabs* tabs_ = nullptr;
    // Indexed as the flag-string positions; entry 0 is unused.
    std::array<ICheckBox*, 5> gOptions_{};
    std::unique_ptr<DeleteBoxes> deleteBoxes_;
    ICheckBox* splash_ = nullptr;
    std::unique_ptr<FileListEditor> fileList_;
    IPushButton* saveButton_ = nullptr;
    IPushButton* runButton_ = nullptr;
    IPushButton* cancelButton_ = nullptr;
    std::unique_ptr<AboutOpener> about_;
    bool deleteWarningGiven_ = false;
    bool running_ = false;
};

}  // namespace kestrum
