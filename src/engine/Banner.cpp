#include "engine/Banner.h"

#include "startup/KestrumModule.h"

namespace kestrum {

Banner::Banner(KestrumModule& module) : module_(module) {
    window_ = module_.platform.ui.CreateTopWindow("Banner", " Kestrum", 4320, 1680);
    label1_ = &window_->AddLabel("Label1", {240, 120, 3840, 330}, "Kestrum Running");
    label2_ = &window_->AddLabel("Label2", {240, 510, 3840, 330}, "");
    cancelButton_ = &window_->AddPushButton("cancelButton", {1500, 1020, 1320, 420}, "Cancel");
    cancelButton_->SetOnClick([this] { module_.CancelRequested = true; });
    window_->SetDefaultButton(cancelButton_);
    window_->SetOnUnload([this] { OnUnloaded(); });

    // Loading the window makes it the run's progress window, with nothing pressed on it yet; a
    // Cancel from here on, even while the window is first drawn, stops the run.
    module_.CancelRequested = false;
    module_.ProgressShown = true;
    module_.ProgressWindow = this;
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

bool Banner::Loaded() const { return window_->Loaded(); }

void Banner::SetStatus(const std::string& caption) {
    if (window_->Loaded()) {
        label2_->SetText(caption);
    }
}

void Banner::OnUnloaded() {
    if (module_.ProgressWindow == this) {
        module_.ProgressWindow = nullptr;
        module_.ProgressShown = false;
    }
}

}  // namespace kestrum
