#include "fakes/ui/FakeUiToolkit.h"

namespace kestrum::fakes {

void FakeControl::SetFocus() {
    if (enabled_ && visible_ && window_.Loaded()) {
        window_.focused_ = this;
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

}  // namespace kestrum::fakes
