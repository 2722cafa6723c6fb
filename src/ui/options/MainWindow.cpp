#include "ui/options/MainWindow.h"

#include "engine/RunContext.h"
#include "engine/RunDriver.h"
#include "ui/options/OptionsWindow.h"

namespace kestrum {

namespace {

std::string DescribeChoices(const RunContext& ctx) {
    RunFlags flags;
    ParseRunFlags(ctx.Options.GeneralOptions, ctx.Options.DeleteOptions, flags);
    const std::pair<bool, const char*> choices[] = {
        {flags.DeleteHistory, "browser history"}, {flags.DeleteCookies, "cookies"},
        {flags.DeleteRecent, "\"recent\" lists"}, {flags.DeleteTemporary, "temporary files"},
        {flags.DeleteCache, "cache files"},       {flags.ClearRecycleBin, "Recycle Bin"},
        {flags.DeleteSelected, "selected files"}, {flags.ClearDnsCache, "DNS cache"},
        {flags.DeletePrefetch, "prefetch files"},
    };
    std::string text;
    for (const auto& [on, name] : choices) {
        if (on) {
            text += text.empty() ? "" : ", ";
            text += name;
        }
    }
    if (text.empty()) {
        return "No delete options have been selected.";
    }
    return "Clean Now removes: " + text + (flags.WipeFiles ? " (files are wiped)." : ".");
}

}  // namespace

MainWindow::MainWindow(RunContext& ctx) : ctx_(ctx) {
    window_ = ctx_.platform.ui.CreateTopWindow("Options", kOptionsWindowTitle, 6000, 2400);
    summary_ = &window_->AddLabel("summaryLabel", {240, 180, 5520, 900}, "");
    runButton_ = &window_->AddPushButton("runButton", {2040, 1500, 1800, 450}, "Clean Now");
    exitButton_ = &window_->AddPushButton("exitButton", {4080, 1500, 1680, 450}, "Exit");
    about_ = std::make_unique<AboutOpener>(ctx_.platform, *window_, TwipsRect{240, 1500, 450, 450});
    window_->SetDefaultButton(runButton_);
    runButton_->SetOnClick([this] { CleanNow(); });
    exitButton_->SetOnClick([this] { window_->Unload(); });
    window_->SetOnKeyPreview([this](const KeyEvent& key) {
        if (key.key != keys::kF1) {
            return false;
        }
        about_->Show();
        return true;
    });
    RefreshSummary();
}

void MainWindow::Show() {
    window_->Show();
}

void MainWindow::RefreshSummary() {
    summary_->SetText(DescribeChoices(ctx_));
}

void MainWindow::CleanNow() {
    // A second click that arrives while the run yields to window events must not start another.
    if (running_ || !window_->Loaded()) {
        return;
    }
    running_ = true;
    RunFromWindow(ctx_, *window_, nullptr);
    running_ = false;
}

}  // namespace kestrum
