#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace kestrum {

// Key codes as the keyboard numbers them: letters and digits are their upper-case characters.
namespace keys {
inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kEnter = 0x0D;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kDelete = 0x2E;
inline constexpr int kF1 = 0x70;
inline constexpr int kF2 = 0x71;
inline constexpr int kF4 = 0x73;
}  // namespace keys

// One item of a pop-up menu; a disabled item is shown greyed and cannot be chosen.
struct MenuItem {
    std::string caption;
    bool enabled = true;
};

// Why a window is asked whether it may unload.
enum class CloseReason { User, Code };

// The pictures a window can show: the program's icon and the dialog's two shortcut folders.
enum class Picture { Program, Desktop, Documents };

enum class WindowState { Normal, Minimized };

// A top-level window and the controls it owns. The controls live as long as the window object.
// Handlers run on the GUI thread; one that throws is passed over, as if it had not been set.
class IWindow {
  public:
    virtual ~IWindow() = default;

    virtual std::string Name() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual std::string Title() const = 0;

    // Controls are named uniquely within their window; tab order is the order of creation.
    virtual ILabel& AddLabel(const std::string& name, const TwipsRect& where,
                             const std::string& caption) = 0;
    virtual IPushButton& AddPushButton(const std::string& name, const TwipsRect& where,
                                       const std::string& caption) = 0;
    virtual ICheckBox& AddCheckBox(const std::string& name, const TwipsRect& where,
                                   const std::string& caption) = 0;
    virtual IPaintBox& AddPaintBox(const std::string& name, const TwipsRect& where,
                                   const std::string& caption) = 0;
    virtual ILinkLabel& AddLinkLabel(const std::string& name, const TwipsRect& where,
                                     const std::string& caption) = 0;
    virtual ITextBox& AddTextBox(const std::string& name, const TwipsRect& where) = 0;
    virtual IListBox& AddListBox(const std::string& name, const TwipsRect& where, bool sorted) = 0;
    // A tree with the tree's own pictures (tree_images) and no nodes yet.
    virtual ITreeView& AddTreeView(const std::string& name, const TwipsRect& where) = 0;
    // Tabs over pages of controls: tab i is captioned captions[i]; tab 0 is shown at first.
    virtual ITabs& AddTabs(const std::string& name, const TwipsRect& where,
                           const std::vector<std::string>& captions) = 0;
    // The picture, drawn to fill the place.
    virtual IControl& AddPicture(const std::string& name, const TwipsRect& where,
                                 Picture picture) = 0;
    // An etched line across the place.
    virtual IControl& AddSeparator(const std::string& name, const TwipsRect& where) = 0;
    // The control of that name, or nullptr.
    virtual IControl* Find(const std::string& name) = 0;

    // Not modal: returns at once.
    virtual void Show() = 0;
    // Shows the window and handles events until it unloads; meanwhile the program's other
    // windows ignore input.
    virtual void ShowModal() = 0;
    virtual void Hide() = 0;
    virtual bool Visible() const = 0;
    // The whole window, frame included, on the screen in twips; moving keeps its size.
    virtual TwipsRect Bounds() const = 0;
    virtual void MoveTo(int left, int top) = 0;
    // A minimised window stays loaded and shown on the task bar.
    virtual void SetState(WindowState state) = 0;
    virtual WindowState State() const = 0;
    // The size of a one-line text in the window's font, in twips.
    virtual TextExtent MeasureText(const std::string& text) const = 0;
    // Paints the window and its controls now rather than when events are next processed.
    virtual void Refresh() = 0;
    // Cuts the window to a rectangle with round corners, in pixels of the whole window.
    virtual void SetRoundedRegion(int left, int top, int right, int bottom, int cornerWidth,
                                  int cornerHeight) = 0;
    // Asks the query-unload handler (reason Code) unless forced; when it lets the window go, the
    // window is destroyed on screen and the object answers Loaded() false. Answers whether the
    // window is gone. The user's close asks the handler the same way (reason User).
    virtual bool Unload(bool force = false) = 0;
    virtual bool Loaded() const = 0;

    // Enter clicks the default button wherever the focus is, unless the focus is on another push
    // button, which Enter clicks instead; Esc clicks the cancel button. nullptr for none.
    virtual void SetDefaultButton(IPushButton* button) = 0;
    virtual IPushButton* DefaultButton() const = 0;
    virtual void SetCancelButton(IPushButton* button) = 0;
    virtual IPushButton* CancelButton() const = 0;

    // Sees every key pressed in the window before the focused control and the keyboard
    // navigation do; answering true consumes the key.
    virtual void SetOnKeyPreview(std::function<bool(const KeyEvent&)> handler) = 0;
    // Answers true to keep the window open.
    virtual void SetOnQueryUnload(std::function<bool(CloseReason)> handler) = 0;
    // Runs when the window becomes the active window.
    virtual void SetOnActivate(std::function<void()> handler) = 0;
    // Runs when another window of the program becomes the active window; a window of another
    // program, or a message box, does not count.
    virtual void SetOnDeactivate(std::function<void()> handler) = 0;
    virtual void SetOnMouse(std::function<void(const MouseEvent&)> handler) = 0;
    // Runs once, after the window has gone, whether code or the user closed it. The handler must
    // not destroy the window object.
    virtual void SetOnUnload(std::function<void()> handler) = 0;

    // A repeating timer; starting an id that runs restarts it with the new interval and handler.
    // Timers stop when the window unloads.
    virtual void StartTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) = 0;
    virtual void StopTimer(int id) = 0;

    // Shows a pop-up menu with its top left corner at a point of the window's face, in twips,
    // and returns when the user has chosen or dismissed it: the index of the chosen item, or
    // nothing.
    virtual std::optional<std::size_t> ShowPopupMenu(const std::vector<MenuItem>& items, int x,
                                                     int y) = 0;
};

}  // namespace kestrum
