#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "fakes/FakeClock.h"
#include "platform/Ui.h"

namespace kestrum::fakes {

// Runs a handler at the boundary a window procedure would give it: a throw is passed over.
template <typename Handler, typename... Args>
auto Guarded(const Handler& handler, Args&&... args) {
    using Result = decltype(handler(std::forward<Args>(args)...));
    try {
        if (handler) {
            const Handler copy = handler;  // it may replace itself
            return copy(std::forward<Args>(args)...);
        }
    } catch (...) {
    }
    return Result();
}

class FakeUiToolkit;
class FakeWindow;

// Input as a user gives it, addressed by window and control names; input for a window that is
// not loaded, or a control it does not have, falls on nothing. A key reaches the key preview,
// then Enter the focused push button or else the default button, Esc the cancel button.
struct ClickOn {
    std::string window;
    std::string control;
};
struct PressKey {
    std::string window;
    KeyEvent key;
};
// On the window's face, or on the named control.
struct MouseAt {
    std::string window;
    MouseEvent event;
    std::string control;
};
struct CloseWindow {
    std::string window;
};
struct ActivateWindow {
    std::string window;
};
// Text typed key by key into the focused control; each key reaches the key preview first.
struct TypeText {
    std::string window;
    std::string text;
};
// On a tree's node, by its key: a click on it, a double-click, or a click on its open/close button
// or its check box.
enum class TreeAction { Click, DoubleClick, Toggle, Check };
struct OnTreeNode {
    std::string window;
    std::string control;
    std::string key;
    TreeAction action = TreeAction::Click;
};
struct ChooseTab {
    std::string window;
    std::string control;
    int tab = 0;
};
using UserInput = std::variant<ClickOn, PressKey, MouseAt, CloseWindow, ActivateWindow, TypeText,
                               OnTreeNode, ChooseTab>;

class FakeControl : public virtual IControl {
  public:
    FakeControl(FakeWindow& window, std::string name, std::string text, const TwipsRect& where)
        : window_(window), name_(std::move(name)), text_(std::move(text)), bounds_(where) {}

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
    void SetToolTip(const std::string&) override {}

    // A user could act on it now: it and its window enabled and shown, on a page in front.
    bool AcceptsInput() const;
    // Set by the tabs whose page holds the control.
    void SetPageShown(bool shown) { pageShown_ = shown; }
    // A user's click, by mouse or keyboard; ignored unless the control accepts input.
    virtual void UserClick() {}
    // Input the control takes itself; each is ignored unless the control accepts input.
    virtual void UserMouse(const MouseEvent& event) {
        if (AcceptsInput()) {
            Guarded(onMouse_, event);
        }
    }
    // False when the control leaves the key to the window's navigation.
    virtual bool UserKey(const KeyEvent&) { return false; }
    void FocusChanged(bool gained) { Guarded(onFocus_, gained); }
    // A typed character whose key the control took.
    virtual void UserChar(char) {}
    // A double click of the left button at a point of the inside, in twips.
    virtual void UserDoubleClick(int, int) {}

  protected:
    // Tab, Esc and Enter: the dialog manager's keys, which a control leaves to its window.
    static bool DialogKey(const KeyEvent& key) {
        return key.key == keys::kTab || key.key == keys::kEscape || key.key == keys::kEnter;
    }

    FakeWindow& window_;
    std::function<void()> onClick_;
    std::function<void(bool)> onFocus_;
    std::function<void(const MouseEvent&)> onMouse_;

  private:
    std::string name_;
    std::string text_;
    TwipsRect bounds_;
    bool enabled_ = true;
    bool visible_ = true;
    bool pageShown_ = true;
};

class FakeLabel final : public FakeControl, public ILabel {
  public:
    using FakeControl::FakeControl;
    void SetText(const std::string& text) override;
    void SetFont(const FontSpec&) override {}

    // Every text set from code, with the fake time it was set at.
    std::vector<std::pair<std::uint64_t, std::string>> history;
    std::function<void(const std::string&)> onTextSet;
};

class FakePicture final : public FakeControl {
  public:
    FakePicture(FakeWindow& window, std::string name, const TwipsRect& where, Picture shown)
        : FakeControl(window, std::move(name), "", where), picture(shown) {}

    const Picture picture;
};

class FakeLinkLabel final : public FakeControl, public ILinkLabel {
  public:
    using FakeControl::FakeControl;
    void SetFont(const FontSpec&) override {}
    void SetOnClick(std::function<void()> h) override { onClick_ = std::move(h); }
    void UserClick() override {
        if (AcceptsInput()) {
            Guarded(onClick_);
        }
    }
};

class FakePushButton final : public FakeControl, public IPushButton {
  public:
    using FakeControl::FakeControl;
    void SetOnClick(std::function<void()> h) override { onClick_ = std::move(h); }
    void SetOnFocus(std::function<void(bool)> h) override { onFocus_ = std::move(h); }
    void UserClick() override;
};

class FakeCheckBox final : public FakeControl, public ICheckBox {
  public:
    using FakeControl::FakeControl;
    bool Value() const override { return value_; }
    // Clicks once per change of the value, as the system's check box does.
    void SetValue(bool checked) override;
    void SetOnClick(std::function<void()> h) override { onClick_ = std::move(h); }
    void UserClick() override;

  private:
    bool value_ = false;
};

// Records what a painter draws. Text measures 105 x 195 twips a character.
class FakeCanvas final : public ICanvas {
  public:
    struct Op {
        enum Kind { Clear, Ellipse, Arc, Text } kind = Clear;
        double cx = 0, cy = 0, radius = 0, aspect = 0, start = 0, end = 0;
        Colour colour = 0, fill = 0;
        int x = 0, y = 0;
        std::string text;
    };
    void Clear(Colour background) override {
        ops.push_back({Op::Clear, 0, 0, 0, 0, 0, 0, background, 0, 0, 0, ""});
    }
    void FillEllipse(double cx, double cy, double radius, double aspect, Colour outline,
                     Colour fill) override {
        ops.push_back({Op::Ellipse, cx, cy, radius, aspect, 0, 0, outline, fill, 0, 0, ""});
    }
    void Arc(double cx, double cy, double radius, double aspect, double start, double end,
             Colour colour) override {
        ops.push_back({Op::Arc, cx, cy, radius, aspect, start, end, colour, 0, 0, 0, ""});
    }
    TextExtent MeasureText(const std::string& text) override { return Measure(text); }
    void DrawText(int x, int y, const std::string& text, Colour colour) override {
        ops.push_back({Op::Text, 0, 0, 0, 0, 0, 0, colour, 0, x, y, text});
    }

    static TextExtent Measure(const std::string& text) {
        return {105 * static_cast<int>(text.size()), 195};
    }

    std::vector<Op> ops;
};

class FakePaintBox final : public FakeControl, public IPaintBox {
  public:
    using FakeControl::FakeControl;
    void SetOnPaint(std::function<void(ICanvas&)> h) override { onPaint_ = std::move(h); }
    void Repaint() override;
    void SetOnMouse(std::function<void(const MouseEvent&)> h) override { onMouse_ = std::move(h); }
    void SetOnKeyDown(std::function<void(const KeyEvent&)> h) override {
        onKeyDown_ = std::move(h);
    }
    void SetOnFocus(std::function<void(bool)> h) override { onFocus_ = std::move(h); }
    void SetOnClick(std::function<void()> h) override { onClick_ = std::move(h); }

    // Focus, press and release of the left button, then the click.
    void UserClick() override;
    bool UserKey(const KeyEvent& key) override;

    // What the last paint drew.
    FakeCanvas painted;

  private:
    std::function<void(ICanvas&)> onPaint_;
    std::function<void(const KeyEvent&)> onKeyDown_;
};

class FakeTabs final : public FakeControl, public ITabs {
  public:
    FakeTabs(FakeWindow& window, const std::string& name, const TwipsRect& where,
             std::vector<std::string> tabCaptions)
        : FakeControl(window, name, "", where), captions(std::move(tabCaptions)) {}
    int Selected() const override { return selected_; }
    void Select(int tab) override;
    void Place(IControl& control, int tab) override;
    void SetOnSelect(std::function<void(int)> h) override { onSelect_ = std::move(h); }
    // The user's click on a tab; ignored unless the tabs accept input.
    void UserChoose(int tab);
    // Ctrl+Tab (+1) and Ctrl+Shift+Tab (-1): the neighbouring tab, round the ends; false when
    // the tabs take no input now.
    bool Step(int by);

    const std::vector<std::string> captions;

  private:
    void ShowPages();

    int selected_ = 0;
    std::vector<std::pair<FakeControl*, int>> placed_;
    std::function<void(int)> onSelect_;
};

class FakeWindow final : public IWindow {
  public:
    FakeWindow(FakeUiToolkit& ui, std::string name, std::string title)
        : ui_(ui), name_(std::move(name)), title_(std::move(title)) {}
    ~FakeWindow() override;

    std::string Name() const override { return name_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    std::string Title() const override { return title_; }
    ILabel& AddLabel(const std::string& name, const TwipsRect& where,
                     const std::string& caption) override {
        return Adopt(std::make_unique<FakeLabel>(*this, name, caption, where));
    }
    IPushButton& AddPushButton(const std::string& name, const TwipsRect& where,
                               const std::string& caption) override {
        return Adopt(std::make_unique<FakePushButton>(*this, name, caption, where));
    }
    ICheckBox& AddCheckBox(const std::string& name, const TwipsRect& where,
                           const std::string& caption) override {
        return Adopt(std::make_unique<FakeCheckBox>(*this, name, caption, where));
    }
    IPaintBox& AddPaintBox(const std::string& name, const TwipsRect& where,
                           const std::string& caption) override {
        return Adopt(std::make_unique<FakePaintBox>(*this, name, caption, where));
    }
    ILinkLabel& AddLinkLabel(const std::string& name, const TwipsRect& where,
                             const std::string& caption) override {
        return Adopt(std::make_unique<FakeLinkLabel>(*this, name, caption, where));
    }
    ITextBox& AddTextBox(const std::string& name, const TwipsRect& where) override;
    IListBox& AddListBox(const std::string& name, const TwipsRect& where, bool sorted) override;
    ITreeView& AddTreeView(const std::string& name, const TwipsRect& where) override;
    ITabs& AddTabs(const std::string& name, const TwipsRect& where,
                   const std::vector<std::string>& captions) override {
        return Adopt(std::make_unique<FakeTabs>(*this, name, where, captions));
    }
    IControl& AddPicture(const std::string& name, const TwipsRect& where,
                         Picture picture) override {
        return Adopt(std::make_unique<FakePicture>(*this, name, where, picture));
    }
    IControl& AddSeparator(const std::string& name, const TwipsRect& where) override {
        return Adopt(std::make_unique<FakeLabel>(*this, name, "", where));
    }
    IControl* Find(const std::string& name) override;
    // Showing a window makes it the active one, as the system does.
    void Show() override;
    void ShowModal() override;
    void Hide() override { visible_ = false; }
    bool Visible() const override { return loaded_ && visible_; }
    void Refresh() override {}
    TwipsRect Bounds() const override { return bounds; }
    void SetState(WindowState state) override { state_ = state; }
    WindowState State() const override { return state_; }
    TextExtent MeasureText(const std::string& text) const override {
        return FakeCanvas::Measure(text);
    }
    void MoveTo(int left, int top) override {
        bounds.left = left;
        bounds.top = top;
    }
    void SetRoundedRegion(int left, int top, int right, int bottom, int cornerWidth,
                          int cornerHeight) override {
        region = {left, top, right, bottom, cornerWidth, cornerHeight};
    }
    bool Unload(bool force = false) override;
    bool Loaded() const override { return loaded_; }
    void SetDefaultButton(IPushButton* button) override { default_ = button; }
    IPushButton* DefaultButton() const override { return default_; }
    void SetCancelButton(IPushButton* button) override { cancel_ = button; }
    IPushButton* CancelButton() const override { return cancel_; }
    void SetOnKeyPreview(std::function<bool(const KeyEvent&)> h) override {
        onKeyPreview_ = std::move(h);
    }
    void SetOnQueryUnload(std::function<bool(CloseReason)> h) override {
        onQueryUnload_ = std::move(h);
    }
    void SetOnActivate(std::function<void()> h) override { onActivate_ = std::move(h); }
    void SetOnDeactivate(std::function<void()> h) override { onDeactivate_ = std::move(h); }
    void SetOnMouse(std::function<void(const MouseEvent&)> h) override { onMouse_ = std::move(h); }
    void SetOnUnload(std::function<void()> h) override { onUnload_ = std::move(h); }
    void StartTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) override;
    void StopTimer(int id) override { timers_.erase(id); }
    std::optional<std::size_t> ShowPopupMenu(const std::vector<MenuItem>& items, int x,
                                             int y) override;

    FakeUiToolkit& toolkit() { return ui_; }
    // The rounded region in pixels (left, top, right, bottom, corner width and height).
    std::vector<int> region;
    WindowFrame frame = WindowFrame::Dialog;
    // Centred on the screen when made; a dialog's frame adds 90 twips round and 300 on top.
    TwipsRect bounds;
    // Loaded, shown and not disabled by another window's modal show.
    bool AcceptsInput() const { return loaded_ && visible_ && enabled_; }

  private:
    friend class FakeControl;
    friend class FakeTreeView;
    friend class FakeUiToolkit;
    void TakeKey(const KeyEvent& key, char typed);
    struct Timer {
        std::uint32_t interval;
        std::uint64_t due;
        std::function<void()> onTick;
    };

    template <typename Kind>
    Kind& Adopt(std::unique_ptr<Kind> control) {
        return static_cast<Kind&>(*controls_.emplace_back(std::move(control)));
    }
    void Take(const UserInput& input);

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
    std::map<int, Timer> timers_;
    std::function<bool(const KeyEvent&)> onKeyPreview_;
    std::function<bool(CloseReason)> onQueryUnload_;
    std::function<void(const MouseEvent&)> onMouse_;
    std::function<void()> onUnload_;
    std::function<void()> onActivate_;
    std::function<void()> onDeactivate_;
    WindowState state_ = WindowState::Normal;
};

struct ShownMessage {
    std::string text;
    std::string title;
    MessageButtons buttons;
    MessageIcon icon;
};

// Windows and an event queue on the fake clock, driven by typed user input. Waiting moves the
// clock to the next scheduled input or timer, or to the end of the wait, so nothing ever sleeps.
// Like a window procedure, the delivery of input and timers passes over a handler that throws.
class FakeUiToolkit final : public IUiToolkit {
  public:
    explicit FakeUiToolkit(FakeClock& clock) : clock_(clock) {}

    std::unique_ptr<IWindow> CreateTopWindow(const std::string& name, const std::string& title,
                                             int width, int height,
                                             WindowFrame frame = WindowFrame::Dialog) override {
        auto window = std::make_unique<FakeWindow>(*this, name, title);
        window->frame = frame;
        const int border = frame == WindowFrame::Dialog ? 90 : 0;
        const int caption = frame == WindowFrame::Dialog ? 300 : 0;
        const TwipsRect work = Screen().workArea;
        const int outerWidth = width + 2 * border;
        const int outerHeight = height + 2 * border + caption;
        window->bounds = {work.left + (work.width - outerWidth) / 2,
                          work.top + (work.height - outerHeight) / 2, outerWidth, outerHeight};
        windows_.push_back(window.get());
        return window;
    }
    // 96 dots per inch on a 1024 x 768 screen with a 30-pixel task bar.
    ScreenMetrics Screen() const override { return {15, 15, {0, 0, 1024 * 15, 738 * 15}}; }
    MessageAnswer ShowMessage(const std::string& text, const std::string& title,
                              MessageButtons buttons, MessageIcon icon) override;
    bool HasPendingInput() override;
    void ProcessPendingEvents() override;
    void WaitForEvents(std::uint32_t milliseconds) override;
    void RunUntilAllWindowsClosed() override;

    // The user's input now, or after delayMs of fake time (handled when events are processed).
    void Input(const UserInput& input);
    void Schedule(std::uint64_t delayMs, UserInput input) {
        scheduled_.push_back({clock_.NowMilliseconds() + delayMs, std::move(input)});
    }
    // The newest loaded window of that name, or nullptr.
    FakeWindow* Find(const std::string& name);
    FakeClock& clock() { return clock_; }

    std::vector<ShownMessage> messages;
    // Answers for the next message boxes in turn; when empty, the first button answers.
    std::deque<MessageAnswer> answers;
    int pendingProcessed = 0;
    // The user's choices from the next pop-up menus in turn, by caption. A menu with none left,
    // or whose item is missing or disabled, is dismissed.
    std::deque<std::string> menuChoices;
    // A loop that would wait for the user for ever returns instead, and says so here.
    bool loopEndedWithWindowsOpen = false;

  private:
    friend class FakeWindow;
    // Makes the window the active one; the one active before hears that it is no longer.
    void Activate(FakeWindow& window);

    FakeWindow* active_ = nullptr;
    struct Scheduled {
        std::uint64_t due;
        UserInput input;
    };

    std::optional<std::uint64_t> NextDue() const;
    // Handles the earliest input or timer due by now; false when none is.
    bool RunOneDue();
    // Handles events while the condition holds and something is still to come.
    void RunWhile(const std::function<bool()>& condition);

    FakeClock& clock_;
    std::vector<FakeWindow*> windows_;
    std::vector<Scheduled> scheduled_;
};

}  // namespace kestrum::fakes
