#include "fakes/ui/FakeUiToolkit.h"

namespace kestrum::fakes {

void FakeControl::SetFocus() {
    FakeControl* before = window_.focused_;
    if (enabled_ && visible_ && window_.Loaded() && before != this) {
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
    return enabled_ && visible_ && window_.AcceptsInput();
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
    ++paints;
    Guarded(onPaint_, painted);
}

void FakePaintBox::FocusChanged(bool gained) {
    Guarded(onFocus_, gained);
}

void FakePaintBox::UserClick() {
    if (AcceptsInput()) {
        SetFocus();
        UserMouse({MouseAction::Press, MouseButton::Left, 0, 0});
        UserMouse({MouseAction::Release, MouseButton::Left, 0, 0});
        Guarded(onClick_);
    }
}

void FakePaintBox::UserMouse(const MouseEvent& event) {
    if (AcceptsInput()) {
        Guarded(onMouse_, event);
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

}  // namespace kestrum::fakes
