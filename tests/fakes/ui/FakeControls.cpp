#include "fakes/ui/FakeUiToolkit.h"

#include <algorithm>
#include <utility>

namespace kestrum::fakes {

void FakeControl::SetFocus() {
    FakeControl* before = window_.focused_;
    if (enabled_ && visible_ && pageShown_ && window_.Loaded() && before != this) {
        window_.focused_ = this;
        if (before != nullptr) {
            before->FocusChanged(false);
        }
        FocusChanged(true);
    }
}

bool FakeControl::HasFocus() const {
    return window_.Loaded() && window_.focused_ == this;
}

bool FakeControl::AcceptsInput() const {
    return enabled_ && visible_ && pageShown_ && window_.AcceptsInput();
}

void FakeLabel::SetText(const std::string& text) {
    FakeControl::SetText(text);
    history.emplace_back(window_.toolkit().clock().NowMilliseconds(), text);
    if (onTextSet) {
        onTextSet(text);
    }
}

void FakePushButton::UserClick() {
    if (AcceptsInput()) {
        Guarded(onClick_);
    }
}

void FakeCheckBox::SetValue(bool checked) {
    if (checked != value_) {
        value_ = checked;
        Guarded(onClick_);
    }
}

void FakeCheckBox::UserClick() {
    if (AcceptsInput()) {
        SetValue(!value_);
    }
}

void FakePaintBox::Repaint() {
    painted.ops.clear();
    Guarded(onPaint_, painted);
}

void FakePaintBox::UserClick() {
    if (AcceptsInput()) {
        SetFocus();
        UserMouse({MouseAction::Press, MouseButton::Left, 0, 0});
        UserMouse({MouseAction::Release, MouseButton::Left, 0, 0});
        Guarded(onClick_);
    }
}

bool FakePaintBox::UserKey(const KeyEvent& key) {
    if (key.key == keys::kTab || key.key == keys::kEscape) {
        return false;
    }
    if (AcceptsInput()) {
        Guarded(onKeyDown_, key);
    }
    return true;
}

void FakeTabs::Select(int tab) {
    if (tab < 0 || tab >= static_cast<int>(captions.size()) || tab == selected_) {
        return;
    }
    const int previous = std::exchange(selected_, tab);
    // The focus leaves a page that goes away for the tabs themselves.
    const bool focusLeaves = std::any_of(placed_.begin(), placed_.end(), [previous](auto& p) {
        return p.second == previous && p.first->HasFocus();
    });
    if (focusLeaves) {
        SetFocus();
    }
    ShowPages();
    Guarded(onSelect_, previous);
}

bool FakeTabs::Step(int by) {
    const int count = static_cast<int>(captions.size());
    if (count < 2 || !AcceptsInput()) {
        return false;
    }
    Select(((selected_ + by) % count + count) % count);
    return true;
}

void FakeTabs::Place(IControl& control, int tab) {
    if (auto* fake = dynamic_cast<FakeControl*>(&control)) {
        placed_.emplace_back(fake, tab);
        ShowPages();
    }
}

void FakeTabs::UserChoose(int tab) {
    if (AcceptsInput()) {
        SetFocus();
        Select(tab);
    }
}

void FakeTabs::ShowPages() {
    for (auto& [control, tab] : placed_) {
        control->SetPageShown(tab == selected_);
    }
}

}  // namespace kestrum::fakes
