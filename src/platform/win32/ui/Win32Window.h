#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Ui.h"
#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

class Win32PushButton;
class Win32UiToolkit;

// A top-level window of the dialog manager's kind (DLGWINDOWEXTRA, DefDlgProcW underneath), so
// that Tab, access keys, Enter and Esc work as in any dialog. It keeps one registry of its
// controls and hands each WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* to the control
// that owns it.
class Win32Window final : public IWindow {
  public:
    Win32Window(Win32UiToolkit& ui, std::string name, const std::string& title, int widthTwips,
                int heightTwips, WindowFrame frame);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    std::string Name() const override { return name_; }
    void SetTitle(const std::string& title) override;
    std::string Title() const override { return title_; }
    ILabel& AddLabel(const std::string& name, const TwipsRect& where,
                     const std::string& caption) override;
    IPushButton& AddPushButton(const std::string& name, const TwipsRect& where,
                               const std::string& caption) override;
    ICheckBox& AddCheckBox(const std::string& name, const TwipsRect& where,
                           const std::string& caption) override;
    IPaintBox& AddPaintBox(const std::string& name, const TwipsRect& where,
                           const std::string& caption) override;
    ILinkLabel& AddLinkLabel(const std::string& name, const TwipsRect& where,
                             const std::string& caption) override;
    ITextBox& AddTextBox(const std::string& name, const TwipsRect& where) override;
    IListBox& AddListBox(const std::string& name, const TwipsRect& where, bool sorted) override;
    ITreeView& AddTreeView(const std::string& name, const TwipsRect& where) override;
    IControl& AddPicture(const std::string& name, const TwipsRect& where, Picture picture) override;
    IControl& AddSeparator(const std::string& name, const TwipsRect& where) override;
    IControl* Find(const std::string& name) override;
    void Show() override;
    void ShowModal() override;
    void Hide() override;
    bool Visible() const override;
    TwipsRect Bounds() const override;
    void MoveTo(int left, int top) override;
    void SetState(WindowState state) override;
    WindowState State() const override;
    TextExtent MeasureText(const std::string& text) const override;
    ITabs& AddTabs(const std::string& name, const TwipsRect& where,
                   const std::vector<std::string>& captions) override;
    void Refresh() override;
    void SetRoundedRegion(int left, int top, int right, int bottom, int cornerWidth,
                          int cornerHeight) override;
    bool Unload(bool force = false) override;
    bool Loaded() const override { return hwnd_ != nullptr; }
    void SetDefaultButton(IPushButton* button) override;
    IPushButton* DefaultButton() const override;
    void SetCancelButton(IPushButton* button) override;
    IPushButton* CancelButton() const override;
    void SetOnKeyPreview(std::function<bool(const KeyEvent&)> handler) override {
        onKeyPreview_ = std::move(handler);
    }
    void SetOnQueryUnload(std::function<bool(CloseReason)> handler) override {
        onQueryUnload_ = std::move(handler);
    }
    void SetOnActivate(std::function<void()> handler) override { onActivate_ = std::move(handler); }
    void SetOnDeactivate(std::function<void()> handler) override {
        onDeactivate_ = std::move(handler);
    }
    void SetOnMouse(std::function<void(const MouseEvent&)> handler) override {
        onMouse_ = std::move(handler);
    }
    void SetOnUnload(std::function<void()> handler) override { onUnload_ = std::move(handler); }
    void StartTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) override;
    void StopTimer(int id) override;
    std::optional<std::size_t> ShowPopupMenu(const std::vector<MenuItem>& items, int x,
                                             int y) override;

    HWND hwnd() const { return hwnd_; }
    Win32UiToolkit& toolkit() { return ui_; }
    // The window's tool-tip control, made when the first control asks for it.
    HWND ToolTips();
    Win32Control* ControlByHwnd(HWND child) const;

    // The message loop's turn for the key preview, before the dialog manager; true when the
    // handler consumed the key.
    bool PreviewKey(const MSG& msg);
    // Ctrl+Tab and Ctrl+Shift+Tab, wherever the focus is: the next or previous tab of the first
    // tabs control that takes input. Answers true when a tab changed.
    bool TabsKey(const MSG& msg);
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    // The window behind a handle of ours, or nullptr.
    static Win32Window* From(HWND hwnd);

  private:
    template <typename Kind>
    Kind& Adopt(std::unique_ptr<Kind> control);
    Win32Control* ControlById(int id) const;
    LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
    bool AskToUnload(CloseReason reason);
    void EndModal();
    void Destroyed();

    Win32UiToolkit& ui_;
    std::string name_;
    std::string title_;
    HWND hwnd_ = nullptr;
    HWND toolTips_ = nullptr;
    bool shownOnce_ = false;
    int nextId_ = 1000;
    // Where the window was last, for a window that is gone.
    TwipsRect bounds_;

    std::vector<std::unique_ptr<Win32Control>> controls_;
    std::unordered_map<std::string, Win32Control*> byName_;
    std::unordered_map<int, Win32Control*> byId_;
    Win32PushButton* default_ = nullptr;
    Win32PushButton* cancel_ = nullptr;
    // The windows this one disabled while it is shown modally.
    std::vector<HWND> disabledByModal_;
    // Set while the window is being destroyed: the activation it hands on is no user's doing.
    bool unloading_ = false;
    std::map<int, std::function<void()>> timers_;

    std::function<bool(const KeyEvent&)> onKeyPreview_;
    std::function<bool(CloseReason)> onQueryUnload_;
    std::function<void()> onActivate_;
    std::function<void()> onDeactivate_;
    std::function<void(const MouseEvent&)> onMouse_;
    std::function<void()> onUnload_;
};

}  // namespace kestrum::win32
