#include <algorithm>

#include "fakes/ui/FakeTextBox.h"
#include "fakes/ui/FakeTreeView.h"
#include "fakes/ui/FakeUiToolkit.h"

namespace kestrum::fakes {

FakeWindow::~FakeWindow() {
    // The owner is going: nothing of it may be called back.
    onUnload_ = nullptr;
    Unload(true);
    auto& all = ui_.windows_;
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

IControl* FakeWindow::Find(const std::string& name) {
    for (auto& control : controls_) {
        if (control->Name() == name) {
            return control.get();
        }
    }
    return nullptr;
}

void FakeWindow::Show() {
    visible_ = loaded_;
    if (loaded_) {
        ui_.Activate(*this);
    }
}

void FakeWindow::ShowModal() {
    std::vector<FakeWindow*> disabled;
    for (FakeWindow* other : ui_.windows_) {
        if (other != this && other->loaded_ && other->enabled_) {
            other->enabled_ = false;
            disabled.push_back(other);
        }
    }
    Show();
    ui_.RunWhile([this] { return loaded_; });
    for (FakeWindow* other : disabled) {
        other->enabled_ = true;
    }
}

std::optional<std::size_t> FakeWindow::ShowPopupMenu(const std::vector<MenuItem>& items, int, int) {
    auto& choices = ui_.menuChoices;
    if (!AcceptsInput() || choices.empty()) {
        return std::nullopt;
    }
    const std::string choice = choices.front();
    choices.pop_front();
    const auto item = std::find_if(items.begin(), items.end(),
                                   [&](const MenuItem& i) { return i.caption == choice; });
    if (item == items.end() || !item->enabled) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(item - items.begin());
}

bool FakeWindow::Unload(bool force) {
    if (!loaded_) {
        return true;
    }
    if (!force && onQueryUnload_) {
        auto handler = onQueryUnload_;
        if (handler(CloseReason::Code)) {
            return false;
        }
    }
    loaded_ = false;
    timers_.clear();
    focused_ = nullptr;
    if (ui_.active_ == this) {
        ui_.active_ = nullptr;
    }
    if (auto handler = onUnload_) {
        handler();
    }
    return true;
}

void FakeWindow::StartTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) {
    if (loaded_ && id > 0) {
        // A zero interval still waits for the next pass, as the system's timers do.
        const std::uint32_t interval = std::max<std::uint32_t>(intervalMs, 1);
        timers_[id] = Timer{interval, ui_.clock().NowMilliseconds() + interval, std::move(onTick)};
    }
}

void FakeWindow::TakeKey(const KeyEvent& event, char typed) {
    // A preview that throws has consumed nothing, as on the system.
    if (!AcceptsInput() || Guarded(onKeyPreview_, event)) {
        return;
    }
    // Ctrl+Tab and Ctrl+Shift+Tab switch tabs wherever the focus is, ahead of the focused control.
    if (event.key == keys::kTab && event.control && !event.alt) {
        for (auto& control : controls_) {
            if (auto* tabs = dynamic_cast<FakeTabs*>(control.get());
                tabs != nullptr && tabs->Step(event.shift ? -1 : 1)) {
                return;
            }
        }
    }
    // The character goes where the key went, even if its handling moved the focus.
    if (FakeControl* target = focused_; target != nullptr && target->UserKey(event)) {
        if (typed != '\0') {
            target->UserChar(typed);
        }
        return;
    }
    const int key = event.key;
    auto* focusedButton = dynamic_cast<FakePushButton*>(focused_);
    IPushButton* target = key == keys::kEscape ? cancel_ : nullptr;
    if (key == keys::kEnter) {
        target = focusedButton != nullptr ? focusedButton : default_;
    }
    if (target != nullptr) {
        dynamic_cast<FakeControl&>(*target).UserClick();
    }
}

void FakeWindow::Take(const UserInput& input) {
    if (const auto* click = std::get_if<ClickOn>(&input)) {
        if (auto* target = dynamic_cast<FakeControl*>(Find(click->control))) {
            // A press of the mouse gives a button or check box the focus before its click; Enter
            // does not.
            const bool takesFocus = dynamic_cast<FakePushButton*>(target) != nullptr ||
                                    dynamic_cast<FakeCheckBox*>(target) != nullptr;
            if (takesFocus && target->AcceptsInput()) {
                target->SetFocus();
            }
            target->UserClick();
        }
    } else if (const auto* press = std::get_if<PressKey>(&input)) {
        TakeKey(press->key, '\0');
    } else if (const auto* type = std::get_if<TypeText>(&input)) {
        for (const char c : type->text) {
            TakeKey(KeyForChar(c), c);
        }
    } else if (const auto* mouse = std::get_if<MouseAt>(&input)) {
        if (!mouse->control.empty()) {
            if (auto* target = dynamic_cast<FakeControl*>(Find(mouse->control))) {
                target->UserMouse(mouse->event);
            }
        } else if (AcceptsInput() && onMouse_) {
            onMouse_(mouse->event);
        }
    } else if (const auto* tree = std::get_if<OnTreeNode>(&input)) {
        if (auto* target = dynamic_cast<FakeTreeView*>(Find(tree->control))) {
            target->UserTree(tree->action, tree->key);
        }
    } else if (const auto* choose = std::get_if<ChooseTab>(&input)) {
        if (auto* target = dynamic_cast<FakeTabs*>(Find(choose->control))) {
            target->UserChoose(choose->tab);
        }
    } else if (std::holds_alternative<ActivateWindow>(input)) {
        if (AcceptsInput()) {
            ui_.Activate(*this);
        }
    } else if (loaded_ && enabled_) {
        auto handler = onQueryUnload_;
        if (!handler || !handler(CloseReason::User)) {
            Unload(true);
        }
    }
}

}  // namespace kestrum::fakes
