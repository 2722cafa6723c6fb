#include "fakes/ui/FakeUiToolkit.h"

#include <algorithm>
#include <utility>

namespace kestrum::fakes {

MessageAnswer FakeUiToolkit::ShowMessage(const std::string& text, const std::string& title,
                                         MessageButtons buttons, MessageIcon icon) {
    messages.push_back({text, title, buttons, icon});
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    const bool ok = buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel;
    return ok ? MessageAnswer::Ok : MessageAnswer::Yes;
}

void FakeUiToolkit::Activate(FakeWindow& window) {
    FakeWindow* before = std::exchange(active_, &window);
    if (before == &window) {
        return;
    }
    if (before != nullptr) {
        Guarded(before->onDeactivate_);
    }
    Guarded(window.onActivate_);
}

void FakeUiToolkit::Input(const UserInput& input) {
    FakeWindow* window = Find(std::visit([](const auto& in) { return in.window; }, input));
    if (window != nullptr) {
        Guarded(std::function<void()>([&] { window->Take(input); }));
    }
}

bool FakeUiToolkit::HasPendingInput() {
    const std::uint64_t now = clock_.NowMilliseconds();
    return std::any_of(scheduled_.begin(), scheduled_.end(),
                       [now](const Scheduled& s) { return s.due <= now; });
}

std::optional<std::uint64_t> FakeUiToolkit::NextDue() const {
    std::optional<std::uint64_t> next;
    auto consider = [&next](std::uint64_t due) { next = std::min(next.value_or(due), due); };
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
        Input(due);
        return true;
    }
    for (FakeWindow* window : windows_) {
        for (auto& [id, timer] : window->timers_) {
            if (timer.due <= now) {
                timer.due = now + timer.interval;
                Guarded(timer.onTick);
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
    const std::uint64_t next = std::max(NextDue().value_or(UINT64_MAX), now);
    clock_.Advance(std::min<std::uint64_t>(now + milliseconds, next) - now);
}

void FakeUiToolkit::RunWhile(const std::function<bool()>& condition) {
    while (condition()) {
        if (!NextDue()) {
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
