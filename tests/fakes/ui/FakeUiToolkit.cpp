#include "fakes/ui/FakeUiToolkit.h"

#include <algorithm>

namespace kestrum::fakes {

std::unique_ptr<IWindow> FakeUiToolkit::CreateTopWindow(const std::string& name,
                                                        const std::string& title, int widthTwips,
                                                        int heightTwips) {
    return std::make_unique<FakeWindow>(*this, name, title, widthTwips, heightTwips);
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
        case MessageButtons::OkCancel:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Yes;
    }
    return MessageAnswer::Ok;
}

void FakeUiToolkit::Input(const UserInput& input) {
    Deliver(input);
}

void FakeUiToolkit::Schedule(std::uint64_t delayMs, UserInput input) {
    scheduled_.push_back({clock_.NowMilliseconds() + delayMs, std::move(input)});
}

void FakeUiToolkit::Guarded(const std::function<void()>& handler) {
    if (!handler) {
        return;
    }
    try {
        handler();
    } catch (...) {
        // Passed over, as the window procedure's boundary does.
    }
}

void FakeUiToolkit::Deliver(const UserInput& input) {
    Guarded([&] {
        std::visit(
            [this](const auto& in) {
                FakeWindow* window = Find(in.window);
                if (window == nullptr) {
                    return;
                }
                using In = std::decay_t<decltype(in)>;
                if constexpr (std::is_same_v<In, ClickOn>) {
                    window->Click(in.control);
                } else if constexpr (std::is_same_v<In, PressKey>) {
                    window->Key(in.key);
                } else if constexpr (std::is_same_v<In, MouseAt>) {
                    window->Mouse(in.event);
                } else {
                    window->Close();
                }
            },
            input);
    });
}

bool FakeUiToolkit::HasPendingInput() {
    const std::uint64_t now = clock_.NowMilliseconds();
    return std::any_of(scheduled_.begin(), scheduled_.end(),
                       [now](const Scheduled& s) { return s.due <= now; });
}

std::optional<std::uint64_t> FakeUiToolkit::NextDue() const {
    std::optional<std::uint64_t> next;
    auto consider = [&next](std::uint64_t due) { next = next ? std::min(*next, due) : due; };
    for (const Scheduled& s : scheduled_) {
        consider(s.due);
    }
    for (const FakeWindow* window : windows_) {
        for (const auto& [id, timer] : window->timers_) {
            consider(timer.due);
        }
    }
    return next;
}

bool FakeUiToolkit::RunOneDue() {
    const std::uint64_t now = clock_.NowMilliseconds();
    // Input first, in the order it was given, then the timers.
    auto input =
        std::min_element(scheduled_.begin(), scheduled_.end(),
                         [](const Scheduled& a, const Scheduled& b) { return a.due < b.due; });
    if (input != scheduled_.end() && input->due <= now) {
        const UserInput due = std::move(input->input);
        scheduled_.erase(input);
        Deliver(due);
        return true;
    }
    for (FakeWindow* window : windows_) {
        for (auto& [id, timer] : window->timers_) {
            if (timer.due <= now) {
                timer.due = now + timer.interval;
                const auto onTick = timer.onTick;  // it may stop or restart its own timer
                Guarded(onTick);
                return true;
            }
        }
    }
    return false;
}

void FakeUiToolkit::ProcessPendingEvents() {
    ++pendingProcessed;
    // Input given while handling input is handled in the same pass, as a message loop would.
    while (RunOneDue()) {
    }
}

void FakeUiToolkit::WaitForEvents(std::uint32_t milliseconds) {
    const std::uint64_t now = clock_.NowMilliseconds();
    std::uint64_t until = now + milliseconds;
    if (const auto next = NextDue()) {
        until = std::min(until, std::max(*next, now));
    }
    clock_.Advance(until - now);
}

void FakeUiToolkit::RunWhile(const std::function<bool()>& condition) {
    while (condition()) {
        if (!NextDue()) {
            // A real loop would wait for the user for ever; the test gets to see that.
            loopEndedWithWindowsOpen = true;
            return;
        }
        WaitForEvents(UINT32_MAX);
        ProcessPendingEvents();
    }
}

void FakeUiToolkit::RunUntilAllWindowsClosed() {
    RunWhile([this] {
        return std::any_of(windows_.begin(), windows_.end(),
                           [](const FakeWindow* w) { return w->Loaded(); });
    });
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
