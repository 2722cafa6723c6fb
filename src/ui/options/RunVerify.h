#pragma once

#include <memory>

#include "engine/RunContext.h"
#include "platform/Ui.h"
#include "ui/options/DeleteBoxes.h"
#include "ui/options/ProgramWindow.h"

namespace kestrum {

// The window of a "Clean Now" shortcut's start: the delete choices preset from the settings and
// the selected files, read-only, with Clean Now and Cancel. The choices made here are for this
// one run and are never stored. Closing it, after the run or without one, ends the program.
class RunVerify final : public ProgramWindow {
  public:
    // `options` is the process-wide state that ctx.Options reads.
    RunVerify(RunContext& ctx, OptionState& options);
    RunVerify(const RunVerify&) = delete;
    RunVerify& operator=(const RunVerify&) = delete;

    void Show() override;
    IWindow& window() override { return *window_; }

    ICheckBox& DeleteBox(int index) { return boxes_->Box(index); }
    ICheckBox& AllOptionsBox() { return boxes_->All(); }
    IListBox& FileList() { return *list_; }

  private:
    void Load();
    void CleanNow();

    RunContext& ctx_;
    OptionState& options_;
    std::unique_ptr<IWindow> window_;
    std::unique_ptr<DeleteBoxes> boxes_;
    IListBox* list_ = nullptr;
    IPushButton* runButton_ = nullptr;
    IPushButton* cancelButton_ = nullptr;
    bool running_ = false;
};

}  // namespace kestrum
