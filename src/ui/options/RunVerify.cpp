#include "ui/options/RunVerify.h"

#include "engine/Completion.h"
#include "engine/RunDriver.h"
#include "settings/ListFile.h"
#include "ui/options/FileListEditor.h"
#include "ui/options/OptionsWindow.h"

namespace kestrum {

namespace {

// The layout, in twips of the client area; the boxes' width leaves the longest caption room at
// 144 dpi as well.
constexpr int kClientWidth = 6360;
constexpr int kMargin = 240;
constexpr int kRow = 300;
constexpr int kBoxHeight = 255;
constexpr DeleteBoxesLayout kBoxes{120, kMargin, 600, kClientWidth - kMargin, kRow, kBoxHeight};
constexpr int kListTop = 120 + 10 * kRow + 60;
constexpr int kListHeight = 1620;
constexpr int kButtonTop = kListTop + kListHeight + 180;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;
constexpr int kButtonGap = 120;
constexpr int kClientHeight = kButtonTop + kButtonHeight + 180;

}  // namespace

RunVerify::RunVerify(RunContext& ctx, OptionState& options) : ctx_(ctx), options_(options) {
    window_ = ctx_.platform.ui.CreateTopWindow("RunVerify", kOptionsWindowTitle, kClientWidth,
                                               kClientHeight);
    IWindow& w = *window_;
    // Clean Now comes first in the Tab order, then the boxes top to bottom, the list and Cancel.
    const int buttonsLeft = (kClientWidth - 2 * kButtonWidth - kButtonGap) / 2;
    runButton_ = &w.AddPushButton(
        "runButton", {buttonsLeft, kButtonTop, kButtonWidth, kButtonHeight}, "Clean &Now");
    boxes_ = std::make_unique<DeleteBoxes>(w, kBoxes, kPrefetchQuestion, [](ICheckBox&) {});
    list_ = &w.AddListBox("FileList", {kMargin, kListTop, kClientWidth - 2 * kMargin, kListHeight},
                          false);
    cancelButton_ = &w.AddPushButton(
        "cancelButton",
        {buttonsLeft + kButtonWidth + kButtonGap, kButtonTop, kButtonWidth, kButtonHeight},
        "Cancel");
    w.SetDefaultButton(runButton_);
    w.SetCancelButton(cancelButton_);

    runButton_->SetOnClick([this] { CleanNow(); });
    cancelButton_->SetOnClick([this] { window_->Unload(); });
    list_->SetOnFocus([this](bool gained) {
        if (gained && list_->Count() > 0 && list_->SelectedIndex() < 0) {
            list_->SetSelectedIndex(0);
        }
    });
    w.SetOnKeyPreview([this](const KeyEvent& key) {
        if (key.key == keys::kEscape) {
            window_->Unload();
            return true;
        }
        if (key.key == keys::kF2) {
            window_->SetState(WindowState::Minimized);
            return true;
        }
        return false;
    });
    Load();
}

void RunVerify::Load() {
    for (const std::string& entry : ShownEntries(options_)) {
        list_->AddItem(ListRowText(*window_, *list_, entry));
    }
    list_->SetSelectedIndex(-1);
    boxes_->Load(ctx_.Startup, options_.DeleteOptions);
}

void RunVerify::Show() {
    window_->Show();
    runButton_->SetFocus();
}

void RunVerify::CleanNow() {
    // A second click that arrives while the run yields to window events must not start another.
    if (running_ || !window_->Loaded()) {
        return;
    }
    running_ = true;
    // For this run only: the settings keep what they hold.
    options_.DeleteOptions = boxes_->Collect();
    window_->Hide();
    RunWithProgressWindow(ctx_);
    if (!ctx_.Run.CancelRequested) {
        CompleteRun(ctx_);
    }
    running_ = false;
    window_->Unload(true);
}

}  // namespace kestrum
