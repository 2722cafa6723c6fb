#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/ui/FakeControls.h"
#include "platform/Ui.h"

namespace kestrum::fakes {

class FakeUiToolkit;

class FakeWindow final : public IWindow {
  public:
    FakeWindow(FakeUiToolkit& ui, std::string name, std::string title, int widthTwips,
               int heightTwips);
    ~FakeWindow() override;
    FakeWindow(const FakeWindow&) = delete;
    FakeWindow& operator=(const FakeWindow&) = delete;

    std::string Name() const override { return name_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    std::string Title() const override { return title_; }
    ILabel& AddLabel(const std::string& name, const TwipsRect& where,
                     const std::string& caption) override;
    IPushButton& AddPushButton(const std::string& name, const TwipsRect& where,
                               const std::string& caption) override;
    ICheckBox& AddCheckBox(const std::string& name, const TwipsRect& where,
                           const std::string& caption) override;
    IControl* Find(const std::string& name) override { return Control(name); }
    void Show() override;
    void ShowModal() override;
    void Hide() override;
    bool Visible() const override { return loaded_ && visible_; }
    bool Unload(bool force = false) override;
    bool Loaded() const override { return loaded_; }
    void SetDefaultButton(IPushButton* button) override { default_ = button; }
    IPushButton* DefaultButton() const override { return default_; }
    void SetCancelButton(IPushButton* button) override { cancel_ = button; }
    IPushButton* CancelButton() const override { return cancel_; }
    void SetOnKeyPreview(std::function<bool(const KeyEvent&)> handler) override {
        onKeyPreview_ = std::move(handler);
    }
    void SetOnQueryUnload(std::function<bool(CloseReason)> handler) override {
        onQueryUnload_ = std::move(handler);
    }
    void SetOnActivate(std::function<void()> handler) override { onActivate_ = std::move(handler); }
    void SetOnMouse(std::function<void(const MouseEvent&)> handler) override {
        onMouse_ = std::move(handler);
    }
    void SetOnUnload(std::function<void()> handler) override { onUnload_ = std::move(handler); }
    void StartTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) override;
    void StopTimer(int id) override { timers_.erase(id); }

    FakeControl* Control(const std::string& name);
    FakeLabel* Label(const std::string& name) { return dynamic_cast<FakeLabel*>(Control(name)); }
    FakePushButton* Button(const std::string& name) {
        return dynamic_cast<FakePushButton*>(Control(name));
    }
    FakeUiToolkit& toolkit() { return ui_; }
    // Loaded, shown and not disabled by another window's modal show.
    bool AcceptsInput() const { return loaded_ && visible_ && enabled_; }
    // The client area asked for.
    const int widthTwips;
    const int heightTwips;

  private:
    friend class FakeControl;
    friend class FakeUiToolkit;
    struct Timer {
        std::uint32_t interval;
        std::uint64_t due;
        std::function<void()> onTick;
    };

    template <typename Kind>
    Kind& Adopt(std::unique_ptr<Kind> control);
    // The user's input, delivered by the toolkit.
    void Click(const std::string& control);
    void Key(const KeyEvent& key);
    void Mouse(const MouseEvent& event);
    void Close();
    void MoveFocus(bool backwards);
    void Gone();

    FakeUiToolkit& ui_;
    std::string name_;
    std::string title_;
    bool loaded_ = true;
    bool visible_ = false;
    bool enabled_ = true;
    std::vector<std::unique_ptr<FakeControl>> controls_;
    FakeControl* focused_ = nullptr;
    IPushButton* default_ = nullptr;
    IPushButton* cancel_ = nullptr;
    std::vector<FakeWindow*> disabledByModal_;
    std::map<int, Timer> timers_;
    std::function<bool(const KeyEvent&)> onKeyPreview_;
    std::function<bool(CloseReason)> onQueryUnload_;
    std::function<void()> onActivate_;
    std::function<void(const MouseEvent&)> onMouse_;
    std::function<void()> onUnload_;
};

}  // namespace kestrum::fakes
