#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Ui.h"

namespace kestrum::fakes {

class FakeWindow;

// State in memory; the user's input reaches a control through its window.
class FakeControl : public virtual IControl {
  public:
    FakeControl(FakeWindow& window, std::string name, std::string text, const TwipsRect& where,
                bool tabStop);
    ~FakeControl() override = default;
    FakeControl(const FakeControl&) = delete;
    FakeControl& operator=(const FakeControl&) = delete;

    std::string Name() const override { return name_; }
    void SetText(const std::string& text) override { text_ = text; }
    std::string Text() const override { return text_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Enabled() const override { return enabled_; }
    void SetVisible(bool visible) override { visible_ = visible; }
    bool Visible() const override { return visible_; }
    void SetBounds(const TwipsRect& where) override { bounds_ = where; }
    TwipsRect Bounds() const override { return bounds_; }
    void SetFocus() override;
    bool HasFocus() const override;
    void SetToolTip(const std::string& text) override { toolTip_ = text; }

    bool TabStop() const { return tabStop_; }
    // The letter after "&" in the caption, upper case; 0 for none.
    char AccessKey() const;
    // True when a user could act on the control now: it and its window enabled and shown.
    bool AcceptsInput() const;
    // A user's click, by mouse or keyboard; ignored unless the control accepts input.
    virtual void UserClick() {}
    virtual bool TakesEnter() const { return false; }

  protected:
    FakeWindow& window_;

  private:
    std::string name_;
    std::string text_;
    TwipsRect bounds_;
    bool tabStop_;
    bool enabled_ = true;
    bool visible_ = true;
    std::string toolTip_;
};

class FakeLabel final : public FakeControl, public ILabel {
  public:
    FakeLabel(FakeWindow& window, std::string name, std::string text, const TwipsRect& where)
        : FakeControl(window, std::move(name), std::move(text), where, false) {}
    void SetText(const std::string& text) override;

    // Every text set from code, with the fake time it was set at.
    std::vector<std::pair<std::uint64_t, std::string>> history;
    std::function<void(const std::string&)> onTextSet;
};

class FakePushButton final : public FakeControl, public IPushButton {
  public:
    FakePushButton(FakeWindow& window, std::string name, std::string text, const TwipsRect& where)
        : FakeControl(window, std::move(name), std::move(text), where, true) {}
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
    void UserClick() override;
    bool TakesEnter() const override { return true; }

  private:
    std::function<void()> onClick_;
};

class FakeCheckBox final : public FakeControl, public ICheckBox {
  public:
    FakeCheckBox(FakeWindow& window, std::string name, std::string text, const TwipsRect& where)
        : FakeControl(window, std::move(name), std::move(text), where, true) {}
    bool Value() const override { return value_; }
    void SetValue(bool checked) override;
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
    void UserClick() override;

  private:
    bool value_ = false;
    std::function<void()> onClick_;
};

}  // namespace kestrum::fakes
