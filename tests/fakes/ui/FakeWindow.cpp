#include "fakes/ui/FakeWindow.h"

#include <algorithm>

#include "fakes/ui/FakeUiToolkit.h"

namespace kestrum::fakes {

FakeWindow::FakeWindow(FakeUiToolkit& ui, std::string name, std::string title, int width,
                       int height)
    : widthTwips(width),
      heightTwips(height),
      ui_(ui),
      name_(std::move(name)),
      title_(std::move(title)) {
    ui_.windows_.push_back(this);
}

FakeWindow::~FakeWindow() {
    onUnload_ = nullptr;
    onQueryUnload_ = nullptr;
    Unload(true);
    auto& all = ui_.windows_;
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

template <typename Kind>
Kind& FakeWindow::Adopt(std::unique_ptr<Kind> control) {
    Kind& adopted = *control;
    controls_.push_back(std::move(control));
    return adopted;
}

ILabel& FakeWindow::AddLabel(const std::string& name, const TwipsRect& where,
                             const std::string& caption) {
    return Adopt(std::make_unique<FakeLabel>(*this, name, caption, where));
}

IPushButton& FakeWindow::AddPushButton(const std::string& name, const TwipsRect& where,
                                       const std::string& caption) {
    return Adopt(std::make_unique<FakePushButton>(*this, name, caption, where));
}

ICheckBox& FakeWindow::AddCheckBox(const std::string& name, const TwipsRect& where,
                                   const std::string& caption) {
    return Adopt(std::make_unique<FakeCheckBox>(*this, name, caption, where));
}

FakeControl* FakeWindow::Control(const std::string& name) {
    for (auto& control : controls_) {
        if (control->Name() == name) {
            return control.get();
        }
    }
    return nullptr;
}

void FakeWindow::Show() {
    if (!loaded_) {
        return;
    }
    visible_ = true;
    // As the dialog manager does: the first tab stop takes the focus when none has it.
    if (focused_ == nullptr) {
        MoveFocus(false);
    }
    if (ui_.active_ != this) {
        ui_.active_ = this;
        ui_.Guarded(onActivate_);
    }
}

void FakeWindow::ShowModal() {
    if (!loaded_) {
        return;
    }
    for (FakeWindow* other : ui_.windows_) {
        if (other != this && other->loaded_ && other->enabled_) {
            other->enabled_ = false;
            disabledByModal_.push_back(other);
        }
    }
    Show();
    ui_.RunWhile([this] { return loaded_; });
    Gone();
}

void FakeWindow::Hide() {
    visible_ = false;
    if (ui_.active_ == this) {
        ui_.active_ = nullptr;
    }
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
    if (!loaded_) {
        return true;
    }
    loaded_ = false;
    visible_ = false;
    Gone();
    if (auto handler = onUnload_) {
        handler();
    }
    return true;
}

void FakeWindow::Gone() {
    for (FakeWindow* other : disabledByModal_) {
        other->enabled_ = true;
    }
    disabledByModal_.clear();
    if (!loaded_) {
        timers_.clear();
        focused_ = nullptr;
        if (ui_.active_ == this) {
            ui_.active_ = nullptr;
        }
    }
}

void FakeWindow::StartTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) {
    if (loaded_ && id > 0) {
        // A zero interval still waits for the next pass, as the system's timers do.
        const std::uint32_t interval = std::max<std::uint32_t>(intervalMs, 1);
        timers_[id] = Timer{interval, ui_.clock().NowMilliseconds() + interval, std::move(onTick)};
    }
}

void FakeWindow::Click(const std::string& control) {
    if (FakeControl* target = Control(control); target != nullptr && target->AcceptsInput()) {
        if (target->TabStop()) {
            focused_ = target;
        }
        target->UserClick();
    }
}

void FakeWindow::Key(const KeyEvent& key) {
    if (!AcceptsInput()) {
        return;
    }
    if (onKeyPreview_) {
        // A preview that throws has consumed nothing, as on the system.
        auto handler = onKeyPreview_;
        bool consumed = false;
        try {
            consumed = handler(key);
        } catch (...) {
        }
        if (consumed) {
            return;
        }
    }
    auto clickButton = [](IPushButton* button) {
        if (button != nullptr) {
            dynamic_cast<FakeControl&>(*button).UserClick();
        }
    };
    if (key.alt) {
        for (auto& control : controls_) {
            if (control->AccessKey() == key.key && control->AcceptsInput()) {
                Click(control->Name());
                return;
            }
        }
        return;
    }
    switch (key.key) {
        case keys::kEnter:
            if (focused_ != nullptr && focused_->TakesEnter()) {
                focused_->UserClick();
            } else {
                clickButton(default_);
            }
            break;
        case keys::kEscape:
            clickButton(cancel_);
            break;
        case keys::kTab:
            MoveFocus(key.shift);
            break;
        case keys::kSpace:
            if (focused_ != nullptr) {
                focused_->UserClick();
            }
            break;
        default:
            break;
    }
}

void FakeWindow::MoveFocus(bool backwards) {
    std::vector<FakeControl*> stops;
    for (auto& control : controls_) {
        if (control->TabStop() && control->AcceptsInput()) {
            stops.push_back(control.get());
        }
    }
    if (stops.empty()) {
        return;
    }
    auto at = std::find(stops.begin(), stops.end(), focused_);
    if (at == stops.end()) {
        focused_ = backwards ? stops.back() : stops.front();
        return;
    }
    const std::size_t i = static_cast<std::size_t>(at - stops.begin());
    focused_ = stops[(i + (backwards ? stops.size() - 1 : 1)) % stops.size()];
}

void FakeWindow::Mouse(const MouseEvent& event) {
    if (AcceptsInput() && onMouse_) {
        auto handler = onMouse_;
        handler(event);
    }
}

void FakeWindow::Close() {
    if (!loaded_ || !enabled_) {
        return;
    }
    if (onQueryUnload_) {
        auto handler = onQueryUnload_;
        if (handler(CloseReason::User)) {
            return;
        }
    }
    Unload(true);
}

}  // namespace kestrum::fakes
