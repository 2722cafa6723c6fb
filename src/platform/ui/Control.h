#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Canvas.h"

namespace kestrum {

// Positions and sizes of windows and controls, in twips (1/1440 inch).
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A control on a window. A control whose window has unloaded keeps answering its last state.
// Disabled or hidden controls, and controls of a disabled window, ignore the user's input.
class IControl {
  public:
    virtual ~IControl() = default;

    virtual std::string Name() const = 0;
    // The caption; an "&" before a letter makes it the control's access key.
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    // The control's own visibility: it shows while its window shows.
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    // Within the window's client area.
    virtual void SetBounds(const TwipsRect& where) = 0;
    virtual TwipsRect Bounds() const = 0;
    virtual void SetFocus() = 0;
    virtual bool HasFocus() const = 0;
    // Shown while the mouse rests on the control; an empty text shows none.
    virtual void SetToolTip(const std::string& text) = 0;
};

// A typeface by name and size in points.
struct FontSpec {
    std::string face;
    int points = 8;
    bool bold = false;
};

class ILabel : public virtual IControl {
  public:
    virtual void SetFont(const FontSpec& font) = 0;
};

// A label that reads as a link: underlined in the link colour, with a hand over it.
class ILinkLabel : public virtual ILabel {
  public:
    virtual void SetOnClick(std::function<void()> handler) = 0;
};

class IPushButton : public virtual IControl {
  public:
    virtual void SetOnClick(std::function<void()> handler) = 0;
    // Runs with true when the button gains the focus (a press of the mouse gives it), false when
    // it loses it.
    virtual void SetOnFocus(std::function<void(bool)> handler) = 0;
};

enum class MouseAction { Move, Press, Release };
enum class MouseButton { None, Left, Right };

// A mouse event on a window's face or a control, in twips from its top left corner.
struct MouseEvent {
    MouseAction action = MouseAction::Move;
    MouseButton button = MouseButton::None;
    int x = 0;
    int y = 0;
    bool shift = false;
    bool control = false;
};

struct KeyEvent {
    int key = 0;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// A control that draws itself: a real child window whose window text is its caption, so that
// the keyboard, screen readers and automation find it. It hands its input to the program and
// acts on none itself; a disabled one takes none. While it has the focus it takes every key but
// Tab and Esc, Enter included.
class IPaintBox : public virtual IControl {
  public:
    virtual void SetOnPaint(std::function<void(ICanvas&)> handler) = 0;
    // Paints now, not at the next quiet moment.
    virtual void Repaint() = 0;
    virtual void SetOnMouse(std::function<void(const MouseEvent&)> handler) = 0;
    virtual void SetOnKeyDown(std::function<void(const KeyEvent&)> handler) = 0;
    // Runs with true when the control gains the focus, false when it loses it.
    virtual void SetOnFocus(std::function<void(bool)> handler) = 0;
    // A press and release of the left button on the control.
    virtual void SetOnClick(std::function<void()> handler) = 0;
};

// A two-state check box. The click handling runs once for every change of its value, whether
// the user clicked or code set it; setting the value it already has runs nothing.
class ICheckBox : public virtual IControl {
  public:
    virtual bool Value() const = 0;
    virtual void SetValue(bool checked) = 0;
    // Runs after the value has changed.
    virtual void SetOnClick(std::function<void()> handler) = 0;
};

// A one-line text box; its text is what the user typed.
class ITextBox : public virtual IControl {
  public:
    // Selects the whole text, so that what is typed next replaces it.
    virtual void SelectAll() = 0;
    // Runs after every change of the text, whether the user typed it or code set it; setting
    // the text it already has runs nothing.
    virtual void SetOnChange(std::function<void()> handler) = 0;
    // Runs for each key pressed in the box, after the window's key preview. Enter reaches the
    // box only while the window has no default button; Tab and Esc never do.
    virtual void SetOnKeyDown(std::function<void(const KeyEvent&)> handler) = 0;
    // Runs with true when the box gains the focus, false when it loses it.
    virtual void SetOnFocus(std::function<void(bool)> handler) = 0;
};

// A single-selection list of text rows, kept in the order they were added or, when made
// sorted, in alphabetical order without regard to case. Rows count from 0; -1 means none.
class IListBox : public virtual IControl {
  public:
    virtual void AddItem(const std::string& text) = 0;
    // A row the list does not have is ignored.
    virtual void RemoveItem(int row) = 0;
    virtual void Clear() = 0;
    virtual int Count() const = 0;
    // Empty for a row the list does not have.
    virtual std::string ItemText(int row) const = 0;
    virtual int SelectedIndex() const = 0;
    // Scrolls the row into view; -1, or a row the list does not have, selects none. Runs no
    // handler.
    virtual void SetSelectedIndex(int row) = 0;
    // Where the row is drawn now, in twips from the top left of the list's inside (a row
    // scrolled out of view lies outside it); all zero for a row the list does not have.
    virtual TwipsRect ItemRect(int row) const = 0;
    // Runs when the user picks a row, by mouse or keyboard, after it is selected.
    virtual void SetOnClick(std::function<void()> handler) = 0;
    virtual void SetOnDoubleClick(std::function<void()> handler) = 0;
    // The mouse over the list, in twips from the top left of its inside.
    virtual void SetOnMouse(std::function<void(const MouseEvent&)> handler) = 0;
    // Runs with true when the list gains the focus, false when it loses it.
    virtual void SetOnFocus(std::function<void(bool)> handler) = 0;
};

// A row of tabs over pages of controls, counted from 0. A control placed on a page shows, and
// takes input, only while its tab is selected and its own visibility allows.
class ITabs : public virtual IControl {
  public:
    virtual int Selected() const = 0;
    // Selecting another tab from code tells the handler, as the user's click does; selecting the
    // tab already shown tells nothing.
    virtual void Select(int tab) = 0;
    virtual void Place(IControl& control, int tab) = 0;
    // Runs after another tab has come forward, with the tab shown before.
    virtual void SetOnSelect(std::function<void(int previous)> handler) = 0;
};

// A node of a tree view; kNoNode stands for none (the parent of a root, a child that is missing).
enum class TreeNode : std::uintptr_t {};
inline constexpr TreeNode kNoNode{};

// The tree's own 16 x 16 pictures, numbered from 1: each drive kind and folder has a normal
// picture, one for while it is selected and one for while it lies on the path to the selection.
namespace tree_images {
inline constexpr int kDesktop = 1, kDesktopSelected = 19, kDesktopOnPath = 20;
inline constexpr int kDocuments = 2, kDocumentsSelected = 17, kDocumentsOnPath = 18;
inline constexpr int kRemovable = 4, kRemovableSelected = 5, kRemovableOnPath = 6;
inline constexpr int kFixed = 7, kFixedSelected = 8, kFixedOnPath = 9;
inline constexpr int kCd = 10, kCdSelected = 11, kCdOnPath = 12;
inline constexpr int kFolder = 13, kFolderOpen = 14, kFolderSelected = 15, kFolderOnPath = 16;
inline constexpr int kNetwork = 21, kNetworkSelected = 22, kNetworkOnPath = 23;
inline constexpr int kCount = 23;
}  // namespace tree_images

// How a tree view looks and takes input.
struct TreeOptions {
    bool checkboxes = false;
    // The selection's highlight spans the whole row.
    bool fullRowSelect = false;
    // The selection shows only while the tree has the focus.
    bool hideSelection = true;
    // The node under the mouse is highlighted.
    bool hotTracking = false;
    // Lines join the roots as well as the nodes below them.
    bool linesToRoots = true;
    // The user may start editing the selected node's label by clicking it again; otherwise only
    // StartLabelEdit starts an edit.
    bool labelEdit = true;
};

// A tree of nodes with a text, a unique key and pictures. Nodes set expanded, selected or
// checked from code raise no event; the user's clicks, double-clicks, the buttons and check
// boxes beside nodes, the arrow keys and the space bar do. Typed characters reach the key-press
// handler only: the tree itself never searches by them. A node without children cannot be expanded.
class ITreeView : public virtual IControl {
  public:
    // Adds the last child of parent (kNoNode: the last root); answers kNoNode, adding nothing,
    // when the key is taken or the parent is not in the tree. Images are numbered from 1.
    virtual TreeNode AddNode(TreeNode parent, const std::string& key, const std::string& text,
                             int image, int selectedImage) = 0;
    // Removes every node.
    virtual void Clear() = 0;
    virtual TreeNode FindNode(const std::string& key) const = 0;
    // Every node in the order it was added.
    virtual std::vector<TreeNode> Nodes() const = 0;
    virtual std::string NodeKey(TreeNode node) const = 0;
    virtual std::string NodeText(TreeNode node) const = 0;
    virtual int NodeImage(TreeNode node) const = 0;
    virtual void SetNodeImage(TreeNode node, int image) = 0;
    virtual TreeNode Parent(TreeNode node) const = 0;
    virtual TreeNode FirstChild(TreeNode node) const = 0;
    virtual TreeNode NextSibling(TreeNode node) const = 0;
    virtual bool Expanded(TreeNode node) const = 0;
    virtual void SetExpanded(TreeNode node, bool expanded) = 0;
    // The node's check box, shown while the tree has check boxes.
    virtual bool Checked(TreeNode node) const = 0;
    virtual void SetChecked(TreeNode node, bool checked) = 0;
    virtual TreeNode Selected() const = 0;
    virtual void Select(TreeNode node) = 0;
    // Expands its ancestors and scrolls it into view.
    virtual void EnsureVisible(TreeNode node) = 0;
    virtual void SetOptions(const TreeOptions& options) = 0;
    virtual TreeOptions Options() const = 0;
    // The font of the node texts.
    virtual void SetFont(const FontSpec& font) = 0;
    // The hourglass over the tree while long work runs.
    virtual void SetBusy(bool busy) = 0;
    virtual bool Busy() const = 0;
    // Opens the selected node's label for the user to edit.
    virtual void StartLabelEdit() = 0;

    // Run when the user opens or closes a node, before its children show or hide.
    virtual void SetOnExpand(std::function<void(TreeNode)> handler) = 0;
    virtual void SetOnCollapse(std::function<void(TreeNode)> handler) = 0;
    // The user clicked a node or moved the selection to it with the keyboard.
    virtual void SetOnNodeClick(std::function<void(TreeNode)> handler) = 0;
    // A click anywhere in the tree, after the node click it may have made.
    virtual void SetOnClick(std::function<void()> handler) = 0;
    // Before a double-clicked node opens or closes.
    virtual void SetOnDoubleClick(std::function<void()> handler) = 0;
    // The key handlers may change the key the tree goes on with; a key set to 0 never reaches it.
    virtual void SetOnKeyDown(std::function<void(KeyEvent&)> handler) = 0;
    // A typed character.
    virtual void SetOnKeyPress(std::function<void(char)> handler) = 0;
    virtual void SetOnKeyUp(std::function<void(KeyEvent&)> handler) = 0;
    // The mouse over the tree, in twips from the top left of its inside. A press is told before
    // the node click it makes, its release after the click.
    virtual void SetOnMouse(std::function<void(const MouseEvent&)> handler) = 0;
    // The user ticked or cleared a node's check box.
    virtual void SetOnNodeCheck(std::function<void(TreeNode)> handler) = 0;
    // Before a label opens for editing; answering true keeps it closed.
    virtual void SetOnBeforeLabelEdit(std::function<bool(TreeNode)> handler) = 0;
    // When the user confirms an edit (Esc runs nothing): the handler may change the new text, and
    // answering true keeps the old one.
    virtual void SetOnAfterLabelEdit(std::function<bool(TreeNode, std::string&)> handler) = 0;
};

}  // namespace kestrum
