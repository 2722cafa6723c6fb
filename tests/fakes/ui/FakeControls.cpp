#include "fakes/ui/FakeControls.h"

#include <cctype>

#include "fakes/ui/FakeUiToolkit.h"
#include "fakes/ui/FakeWindow.h"

namespace kestrum::fakes {

FakeControl::FakeControl(FakeWindow& window, std::string name, std::string text,
                         const TwipsRect& where, bool tabStop)
    : window_(window),
      name_(std::move(name)),
      text_(std::move(text)),
      bounds_(where),
      tabStop_(tabStop) {}

void FakeControl::SetFocus() {
    if (enabled_ && visible_ && window_.Loaded()) {
        window_.focused_ = this;
    }
}

bool FakeControl::HasFocus() const {
    return window_.Loaded() && window_.focused_ == this;
}

char FakeControl::AccessKey() const {
    for (std::size_t i = 0; i + 1 < text_.size(); ++i) {
        if (text_[i] == '&') {
            if (text_[i + 1] != '&') {
                return static_cast<char>(std::toupper(static_cast<unsigned char>(text_[i + 1])));
            }
            ++i;  // "&&" is a plain ampersand
        }
    }
    return 0;
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
    if (AcceptsInput() && onClick_) {
        auto handler = onClick_;
        handler();
    }
}

void FakeCheckBox::SetValue(bool checked) {
    if (checked == value_) {
        return;
    }
    value_ = checked;
    if (onClick_) {
        auto handler = onClick_;
        handler();
    }
}

void FakeCheckBox::UserClick() {
    if (AcceptsInput()) {
        SetValue(!value_);
    }
}

}  // namespace kestrum::fakes
