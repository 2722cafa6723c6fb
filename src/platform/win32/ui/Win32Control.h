#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>

#include "platform/Ui.h"

namespace kestrum::win32 {

class Win32Tabs;
class Win32Window;

// The part every Win32 control kind shares: its child window, its place in the window's
// registry, and the messages the window hands to the control that owns them. A new kind
// derives from this and overrides the handlers its notifications need.
class Win32Control : public virtual IControl {
  public:
    Win32Control(Win32Window& window, std::string name, int id);
    ~Win32Control() override;
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    std::string Name() const override { return name_; }
    void SetText(const std::string& text) override;
    std::string Text() const override;
    void SetEnabled(bool enabled) override;
    bool Enabled() const override;
    void SetVisible(bool visible) override;
    bool Visible() const override;
    void SetBounds(const TwipsRect& where) override;
    TwipsRect Bounds() const override { return bounds_; }
    void SetFocus() override;
    bool HasFocus() const override;
    void SetToolTip(const std::string& text) override;

    int id() const { return id_; }
    HWND hwnd() const { return hwnd_; }
    // The child window has gone with its parent; the object keeps its last state.
    void Detach();
    // Set by the tabs whose page holds the control: it shows only while that page is in front
    // and its own visibility allows, and the two are kept apart so that each survives the other.
    void SetPageShown(bool shown);
    // The tabs whose page holds the control, whose body then lies behind it.
    void SetPageOf(Win32Tabs* tabs) { pageOf_ = tabs; }

    // WM_COMMAND with this control's id; true when handled.
    virtual bool OnCommand(WORD) { return false; }
    // WM_NOTIFY from this control; true with *result set when handled.
    virtual bool OnNotify(const NMHDR&, LRESULT*) { return false; }
    // WM_DRAWITEM for an owner-drawn control; true when drawn.
    virtual bool OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
    // WM_CTLCOLOR*: the brush to paint the background with, or nullptr for the default.
    virtual HBRUSH OnCtlColor(HDC) { return nullptr; }
    // Push buttons take Enter themselves while they have the focus.
    virtual bool TakesEnter() const { return false; }

  protected:
    // Sends the child window's own messages through OnSubclassMessage first, behind the same
    // exception boundary as the window procedure; undone when the control goes.
    void Subclass();
    // A message to the subclassed child window; true with *result set when fully handled, false
    // to let the system's control handle it too.
    virtual bool OnSubclassMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // Creates the child window; each kind calls it from its constructor.
    void Create(const wchar_t* className, DWORD style, const TwipsRect& where,
                const std::string& caption, DWORD exStyle = 0);
    // True when a user could act on the control now: it and its window enabled and shown.
    bool AcceptsInput() const;
    // For WM_CTLCOLOR*: what lies behind the control, the window's face or a tab's body.
    HBRUSH Backdrop(HDC dc) const;

    Win32Window& window_;
    HWND hwnd_ = nullptr;

  private:
    void RepaintOverSiblings();
    static LRESULT CALLBACK SubclassProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                              UINT_PTR, DWORD_PTR self);

    bool subclassed_ = false;
    std::string name_;
    int id_;
    // Kept here as well, so a control whose window has gone still answers them.
    std::string text_;
    TwipsRect bounds_;
    bool enabled_ = true;
    bool visible_ = true;
    bool pageShown_ = true;
    Win32Tabs* pageOf_ = nullptr;
    bool hasToolTip_ = false;
};

// The window face behind a label or a check box, rather than a plain static's white.
HBRUSH FaceBackground(HDC dc);

// Runs a handler if one is set, through a copy, since it may replace itself.
template <typename Handler, typename... Args>
void Raise(const Handler& handler, Args&&... args) {
    if (handler) {
        const Handler copy = handler;
        copy(std::forward<Args>(args)...);
    }
}

// A mouse button or move message in twips, relative to the window that got it.
MouseEvent MouseEventOf(UINT message, WPARAM wparam, LPARAM lparam, const ScreenMetrics& scale);

}  // namespace kestrum::win32
