#pragma once

#include <memory>

#include "platform/Ui.h"
#include "ui/controls/Button.h"
#include "ui/options/AboutBox.h"
#include "ui/options/ProgramWindow.h"

namespace kestrum {

struct RunContext;

// The window of an interactive or shortcut start: it shows the stored choices and cleans with
// them on "Clean Now". Closing it ends the program.
class MainWindow final : public ProgramWindow {
  public:
    explicit MainWindow(RunContext& ctx);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void Show() override;
    IWindow& window() override { return *window_; }
    IPushButton& runButton() { return *runButton_; }
    IPushButton& exitButton() { return *exitButton_; }
    Button& helpButton() { return about_->button(); }
    // The About box while it is open, or nullptr.
    AboutBox* about() { return about_->open(); }

  private:
    void CleanNow();
    void RefreshSummary();

    RunContext& ctx_;
    std::unique_ptr<IWindow> window_;
    ILabel* summary_ = nullptr;
    IPushButton* runButton_ = nullptr;
    IPushButton* exitButton_ = nullptr;
    std::unique_ptr<AboutOpener> about_;
    bool running_ = false;
};

}  // namespace kestrum
