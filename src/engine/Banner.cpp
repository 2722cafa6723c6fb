#include "engine/Banner.h"

#include "engine/RunContext.h"

namespace kestrum {

Banner::Banner(RunContext& ctx) : ctx_(ctx) {
    window_ = ctx_.platform.ui.CreateTopWindow("Banner", " Kestrum", 4320, 1680);
    label1_ = &window_->AddLabel("Label1", {240, 120, 3840, 330}, "Kestrum Running");
    label2_ = &window_->AddLabel("Label2", {240, 510, 3840, 330}, "");
    cancelButton_ = &window_->AddPushButton("cancelButton", {1500, 1020, 1320, 420}, "Cancel");
    cancelButton_->SetOnClick([this] { ctx_.Run.CancelRequested = true; });
    window_->SetDefaultButton(cancelButton_);
    window_->SetOnUnload([this] { OnUnloaded(); });

    // Loading the window makes it the run's progress window, with nothing pressed on it yet; a
    // Cancel from here on, even while the window is first drawn, stops the run.
    ctx_.Run.CancelRequested = false;
    ctx_.Run.ProgressShown = true;
    ctx_.Run.ProgressWindow = this;
}

Banner::~Banner() {
    Unload();
}

void Banner::Show() {
    if (window_->Loaded()) {
        window_->Show();
    }
}

void Banner::Unload() {
    window_->Unload();
    // A toolkit calls the handler when the window goes; this covers one that has already gone.
    OnUnloaded();
}

bool Banner::Loaded() const {
    return window_->Loaded();
}

void Banner::SetStatus(const std::string& caption) {
    if (window_->Loaded()) {
        label2_->SetText(caption);
    }
}

void Banner::OnUnloaded() {
    if (ctx_.Run.ProgressWindow == this) {
        ctx_.Run.ProgressWindow = nullptr;
        ctx_.Run.ProgressShown = false;
    }
}

}  // namespace kestrum
