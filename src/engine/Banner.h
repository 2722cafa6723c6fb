#pragma once

#include <memory>
#include <string>

#include "platform/Ui.h"

namespace kestrum {

struct RunContext;

// The progress window of an interactive run. While it is loaded the run knows it as its
// progress window, and its Cancel button asks the run to stop.
class Banner {
  public:
    explicit Banner(RunContext& ctx);
    ~Banner();
    Banner(const Banner&) = delete;
    Banner& operator=(const Banner&) = delete;

    void Show();
    // Closes the window; the user closing it has the same effect.
    void Unload();
    bool Loaded() const;

    void SetStatus(const std::string& caption);

    IWindow& window() { return *window_; }
    ILabel& Label1() { return *label1_; }
    ILabel& Label2() { return *label2_; }
    IPushButton& cancelButton() { return *cancelButton_; }

  private:
    void OnUnloaded();

    RunContext& ctx_;
    std::unique_ptr<IWindow> window_;
    ILabel* label1_ = nullptr;
    ILabel* label2_ = nullptr;
    IPushButton* cancelButton_ = nullptr;
};

}  // namespace kestrum
