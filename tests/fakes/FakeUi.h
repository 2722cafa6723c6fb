#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeClock.h"
#include "platform/Ui.h"

namespace kestrum::fakes {

class FakeUiToolkit;

class FakeLabel final : public ILabel {
public:
    FakeLabel(FakeClock& clock, std::string name, std::string text)
        : clock_(clock), name_(std::move(name)), text_(std::move(text)) {}

    std::string Name() const override { return name_; }
    void SetText(const std::string& text) override;
    std::string Text() const override { return text_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Enabled() const override { return enabled_; }

    // Every text set from code, with the fake time it was set at.
    std::vector<std::pair<std::uint64_t, std::string>> history;
    std::function<void(const std::string&)> onTextSet;

private:
    FakeClock& clock_;
    std::string name_;
    std::string text_;
    bool enabled_ = true;
};

class FakePushButton final : public IPushButton {
public:
    FakePushButton(std::string name, std::string text)
        : name_(std::move(name)), text_(std::move(text)) {}

    std::string Name() const override { return name_; }
    void SetText(const std::string& text) override { text_ = text; }
    std::string Text() const override { return text_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Enabled() const override { return enabled_; }
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
    void SetDefault(bool isDefault) override { default_ = isDefault; }
    bool IsDefault() const { return default_; }

    // A user's click: nothing happens on a disabled button.
    void Click();

private:
    std::string name_;
    std::string text_;
    bool enabled_ = true;
    bool default_ = false;
    std::function<void()> onClick_;
};

class FakeWindow final : public IWindow {
public:
    FakeWindow(FakeUiToolkit& ui, std::string name, std::string title);
    ~FakeWindow() override;

    std::string Name() const override { return name_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    std::string Title() const override { return title_; }
    ILabel& AddLabel(const std::string& name, const TwipsRect& where,
                     const std::string& caption) override;
    IPushButton& AddPushButton(const std::string& name, const TwipsRect& where,
                               const std::string& caption) override;
    void Show() override;
    void Hide() override { visible_ = false; }
    bool Visible() const override { return loaded_ && visible_; }
    void Unload() override;
    bool Loaded() const override { return loaded_; }
    void SetOnUnload(std::function<void()> handler) override { onUnload_ = std::move(handler); }

    FakeLabel* Label(const std::string& name);
    FakePushButton* Button(const std::string& name);
    int timesShown = 0;

private:
    FakeUiToolkit& ui_;
    std::string name_;
    std::string title_;
    bool loaded_ = true;
    bool visible_ = false;
    std::function<void()> onUnload_;
    std::vector<std::unique_ptr<FakeLabel>> labels_;
    std::vector<std::unique_ptr<FakePushButton>> buttons_;
};

struct ShownMessage {
    std::string text;
    std::string title;
    MessageButtons buttons;
    MessageIcon icon;
    std::uint64_t at;
};

// Windows and an event queue on the fake clock. Waiting moves the clock to the next queued event
// or to the end of the wait, so nothing ever sleeps.
class FakeUiToolkit final : public IUiToolkit {
public:
    explicit FakeUiToolkit(FakeClock& clock) : clock_(clock) {}

    std::unique_ptr<IWindow> CreateTopWindow(const std::string& name, const std::string& title,
                                             int widthTwips, int heightTwips) override;
    MessageAnswer ShowMessage(const std::string& text, const std::string& title,
                              MessageButtons buttons, MessageIcon icon) override;
    bool HasPendingInput() override;
    void ProcessPendingEvents() override;
    void WaitForEvents(std::uint32_t milliseconds) override;
    void RunUntilAllWindowsClosed() override;

    // User input that arrives after `delayMs` of fake time.
    void Post(std::function<void()> input, std::uint64_t delayMs = 0);
    // The newest loaded window of that name, or nullptr.
    FakeWindow* Find(const std::string& name);
    FakeClock& clock() { return clock_; }

    std::vector<ShownMessage> messages;
    // Answers for the next message boxes in turn; when empty, the first button answers.
    std::deque<MessageAnswer> answers;
    int pendingProcessed = 0;
    bool loopEndedWithWindowsOpen = false;

private:
    friend class FakeWindow;
    struct Queued {
        std::uint64_t due;
        std::function<void()> input;
    };

    FakeClock& clock_;
    std::vector<FakeWindow*> windows_;
    std::vector<Queued> queue_;
};

}  // namespace kestrum::fakes
