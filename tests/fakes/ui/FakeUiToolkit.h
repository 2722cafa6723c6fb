#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeClock.h"
#include "fakes/ui/FakeControls.h"
#include "fakes/ui/FakeInput.h"
#include "fakes/ui/FakeWindow.h"
#include "platform/Ui.h"

namespace kestrum::fakes {

struct ShownMessage {
    std::string text;
    std::string title;
    MessageButtons buttons;
    MessageIcon icon;
    std::uint64_t at;
};

// Windows and an event queue on the fake clock, driven by typed user input. Waiting moves the
// clock to the next scheduled input or timer, or to the end of the wait, so nothing ever sleeps.
// Like a window procedure, the delivery of input and timers passes over a handler that throws.
class FakeUiToolkit final : public IUiToolkit {
  public:
    explicit FakeUiToolkit(FakeClock& clock) : clock_(clock) {}

    std::unique_ptr<IWindow> CreateTopWindow(const std::string& name, const std::string& title,
                                             int widthTwips, int heightTwips) override;
    ScreenMetrics Screen() const override { return screen; }
    MessageAnswer ShowMessage(const std::string& text, const std::string& title,
                              MessageButtons buttons, MessageIcon icon) override;
    bool HasPendingInput() override;
    void ProcessPendingEvents() override;
    void WaitForEvents(std::uint32_t milliseconds) override;
    void RunUntilAllWindowsClosed() override;

    // The user's input now, or after delayMs of fake time (handled when events are processed).
    void Input(const UserInput& input);
    void Schedule(std::uint64_t delayMs, UserInput input);
    // The newest loaded window of that name, or nullptr.
    FakeWindow* Find(const std::string& name);
    FakeClock& clock() { return clock_; }

    // 96 dots per inch on a 1024 x 768 screen with a 30-pixel task bar, unless a test says else.
    ScreenMetrics screen{15, 15, {0, 0, 1024 * 15, 738 * 15}};
    std::vector<ShownMessage> messages;
    // Answers for the next message boxes in turn; when empty, the first button answers.
    std::deque<MessageAnswer> answers;
    int pendingProcessed = 0;
    // A loop that would wait for the user for ever returns instead, and says so here.
    bool loopEndedWithWindowsOpen = false;

  private:
    friend class FakeWindow;
    struct Scheduled {
        std::uint64_t due;
        UserInput input;
    };

    void Deliver(const UserInput& input);
    // Runs a handler at the boundary a window procedure would give it.
    void Guarded(const std::function<void()>& handler);
    std::optional<std::uint64_t> NextDue() const;
    // Handles the earliest input or timer due by now; false when none is.
    bool RunOneDue();
    // Handles events while the condition holds and something is still to come.
    void RunWhile(const std::function<bool()>& condition);

    FakeClock& clock_;
    std::vector<FakeWindow*> windows_;
    FakeWindow* active_ = nullptr;
    std::vector<Scheduled> scheduled_;
};

}  // namespace kestrum::fakes
