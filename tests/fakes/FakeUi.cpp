#include "fakes/FakeUi.h"

#include <algorithm>

namespace kestrum::fakes {

void FakeLabel::SetText(const std::string& text) {
    text_ = text;
    history.emplace_back(clock_.NowMilliseconds(), text);
    if (onTextSet) {
        onTextSet(text);
    }
}

void FakePushButton::Click() {
    if (enabled_ && onClick_) {
        onClick_();
    }
}

FakeWindow::FakeWindow(FakeUiToolkit& ui, std::string name, std::string title)
    : ui_(ui), name_(std::move(name)), title_(std::move(title)) {
    ui_.windows_.push_back(this);
}

FakeWindow::~FakeWindow() {
    auto& all = ui_.windows_;
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

ILabel& FakeWindow::AddLabel(const std::string& name, const TwipsRect&, const std::string& caption) {
    labels_.push_back(std::make_unique<FakeLabel>(ui_.clock(), name, caption));
    return *labels_.back();
}

IPushButton& FakeWindow::AddPushButton(const std::string& name, const TwipsRect&,
                                       const std::string& caption) {
    buttons_.push_back(std::make_unique<FakePushButton>(name, caption));
    return *buttons_.back();
}

void FakeWindow::Show() {
    if (loaded_) {
        visible_ = true;
        ++timesShown;
    }
}

void FakeWindow::Unload() {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    visible_ = false;
    if (onUnload_) {
        onUnload_();
    }
}

FakeLabel* FakeWindow::Label(const std::string& name) {
    for (auto& label : labels_) {
        if (label->Name() == name) {
            return label.get();
        }
    }
    return nullptr;
}

FakePushButton* FakeWindow::Button(const std::string& name) {
    for (auto& button : buttons_) {
        if (button->Name() == name) {
            return button.get();
        }
    }
    return nullptr;
}

std::unique_ptr<IWindow> FakeUiToolkit::CreateTopWindow(const std::string& name,
                                                        const std::string& title, int, int) {
    return std::make_unique<FakeWindow>(*this, name, title);
}

MessageAnswer FakeUiToolkit::ShowMessage(const std::string& text, const std::string& title,
                                         MessageButtons buttons, MessageIcon icon) {
    messages.push_back({text, title, buttons, icon, clock_.NowMilliseconds()});
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    switch (buttons) {
        case MessageButtons::Ok:
        case MessageButtons::OkCancel: return MessageAnswer::Ok;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel: return MessageAnswer::Yes;
    }
    return MessageAnswer::Ok;
}

bool FakeUiToolkit::HasPendingInput() {
    const std::uint64_t now = clock_.NowMilliseconds();
    return std::any_of(queue_.begin(), queue_.end(), [now](const Queued& q) { return q.due <= now; });
}

void FakeUiToolkit::ProcessPendingEvents() {
    ++pendingProcessed;
    // Input queued while handling input is handled in the same pass, as a message loop would.
    for (;;) {
        const std::uint64_t now = clock_.NowMilliseconds();
        auto it = std::find_if(queue_.begin(), queue_.end(),
                               [now](const Queued& q) { return q.due <= now; });
        if (it == queue_.end()) {
            return;
        }
        auto input = std::move(it->input);
        queue_.erase(it);
        input();
    }
}

void FakeUiToolkit::WaitForEvents(std::uint32_t milliseconds) {
    const std::uint64_t now = clock_.NowMilliseconds();
    std::uint64_t until = now + milliseconds;
    for (const Queued& q : queue_) {
        until = std::min(until, std::max(q.due, now));
    }
    clock_.Advance(until - now);
}

void FakeUiToolkit::RunUntilAllWindowsClosed() {
    for (;;) {
        const bool anyLoaded = std::any_of(windows_.begin(), windows_.end(),
                                           [](const FakeWindow* w) { return w->Loaded(); });
        if (!anyLoaded) {
            return;
        }
        if (queue_.empty()) {
            // A real loop would wait for the user for ever; the test gets to see that.
            loopEndedWithWindowsOpen = true;
            return;
        }
        WaitForEvents(UINT32_MAX);
        ProcessPendingEvents();
    }
}

void FakeUiToolkit::Post(std::function<void()> input, std::uint64_t delayMs) {
    queue_.push_back({clock_.NowMilliseconds() + delayMs, std::move(input)});
}

FakeWindow* FakeUiToolkit::Find(const std::string& name) {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        if ((*it)->Loaded() && (*it)->Name() == name) {
            return *it;
        }
    }
    return nullptr;
}

}  // namespace kestrum::fakes
