#include "platform/win32/ui/Win32TreeView.h"

#include <windowsx.h>

#include <utility>

#include "platform/win32/WideString.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

HTREEITEM Item(TreeNode node) {
    return reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(node));
}

TreeNode NodeOf(HTREEITEM item) {
    return TreeNode{reinterpret_cast<std::uintptr_t>(item)};
}

KeyEvent KeyOf(WPARAM wparam) {
    return {static_cast<int>(wparam), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
            GetKeyState(VK_MENU) < 0};
}

}  // namespace

// The tree tells about changes made from code as it does about the user's: those are withheld.
class Win32TreeView::FromCode {
  public:
    explicit FromCode(Win32TreeView& tree) : tree_(tree), before_(tree.fromCode_) {
        tree_.fromCode_ = true;
    }
    ~FromCode() { tree_.fromCode_ = before_; }
    FromCode(const FromCode&) = delete;
    FromCode& operator=(const FromCode&) = delete;

  private:
    Win32TreeView& tree_;
    bool before_;
};

Win32TreeView::Win32TreeView(Win32Window& window, const std::string& name, int id,
                             const TwipsRect& where)
    : Win32Control(window, name, id) {
    Create(
        WC_TREEVIEWW,
        WS_TABSTOP | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS,
        where, "");
    if (hwnd_ == nullptr) {
        return;
    }
    Subclass();
    // The larger pictures once the small ones' 240 twips (16 pixels at 96 dpi) come to 24 pixels
    // on this screen, as at 144 dpi.
    const bool large = window_.toolkit().Scale().PixelsX(240) >= 24;
    const int size = large ? 24 : 16;
    images_.reset(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, tree_images::kCount, 0));
    BitmapHandle strip(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr),
                   MAKEINTRESOURCEW(large ? kTreeImages24Resource : kTreeImagesResource),
                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (images_ && strip) {
        ImageList_AddMasked(images_.get(), strip.get(), kTransparent);
        TreeView_SetImageList(hwnd_, images_.get(), TVSIL_NORMAL);
    }
}

Win32TreeView::~Win32TreeView() {
    if (hwnd_ != nullptr) {
        // The list must outlive its use by the tree.
        TreeView_SetImageList(hwnd_, nullptr, TVSIL_NORMAL);
    }
}

bool Win32TreeView::Known(TreeNode node) const {
    return hwnd_ != nullptr && keys_.count(node) != 0;
}

TreeNode Win32TreeView::AddNode(TreeNode parent, const std::string& key, const std::string& text,
                                int image, int selectedImage) {
    if (hwnd_ == nullptr || byKey_.count(key) != 0 || (parent != kNoNode && !Known(parent))) {
        return kNoNode;
    }
    FromCode quiet(*this);
    std::wstring wide = Utf8ToWide(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent == kNoNode ? TVI_ROOT : Item(parent);
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = wide.data();
    insert.item.iImage = image - 1;
    insert.item.iSelectedImage = selectedImage - 1;
    HTREEITEM item = TreeView_InsertItem(hwnd_, &insert);
    if (item == nullptr) {
        return kNoNode;
    }
    const TreeNode node = NodeOf(item);
    byKey_.emplace(key, node);
    keys_.emplace(node, key);
    order_.push_back(node);
    return node;
}

void Win32TreeView::Clear() {
    FromCode quiet(*this);
    if (hwnd_ != nullptr) {
        TreeView_DeleteAllItems(hwnd_);
    }
    byKey_.clear();
    keys_.clear();
    order_.clear();
}

TreeNode Win32TreeView::FindNode(const std::string& key) const {
    const auto it = byKey_.find(key);
    return it != byKey_.end() ? it->second : kNoNode;
}

std::string Win32TreeView::NodeKey(TreeNode node) const {
    const auto it = keys_.find(node);
    return it != keys_.end() ? it->second : std::string();
}

std::string Win32TreeView::NodeText(TreeNode node) const {
    if (!Known(node)) {
        return {};
    }
    wchar_t text[1024] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = Item(node);
    item.pszText = text;
    item.cchTextMax = 1024;
    return TreeView_GetItem(hwnd_, &item) ? WideToUtf8(text) : std::string();
}

int Win32TreeView::NodeImage(TreeNode node) const {
    TVITEMW item{};
    item.mask = TVIF_IMAGE;
    item.hItem = Item(node);
    return Known(node) && TreeView_GetItem(hwnd_, &item) ? item.iImage + 1 : 0;
}

void Win32TreeView::SetNodeImage(TreeNode node, int image) {
    if (Known(node)) {
        TVITEMW item{};
        item.mask = TVIF_IMAGE;
        item.hItem = Item(node);
        item.iImage = image - 1;
        TreeView_SetItem(hwnd_, &item);
    }
}

TreeNode Win32TreeView::Parent(TreeNode node) const {
    return Known(node) ? NodeOf(TreeView_GetParent(hwnd_, Item(node))) : kNoNode;
}

TreeNode Win32TreeView::FirstChild(TreeNode node) const {
    return Known(node) ? NodeOf(TreeView_GetChild(hwnd_, Item(node))) : kNoNode;
}

TreeNode Win32TreeView::NextSibling(TreeNode node) const {
    return Known(node) ? NodeOf(TreeView_GetNextSibling(hwnd_, Item(node))) : kNoNode;
}

bool Win32TreeView::Expanded(TreeNode node) const {
    return Known(node) && (TreeView_GetItemState(hwnd_, Item(node), TVIS_EXPANDED) & TVIS_EXPANDED);
}

void Win32TreeView::SetExpanded(TreeNode node, bool expanded) {
    if (Known(node)) {
        FromCode quiet(*this);
        TreeView_Expand(hwnd_, Item(node), expanded ? TVE_EXPAND : TVE_COLLAPSE);
    }
}

bool Win32TreeView::Checked(TreeNode node) const {
    return Known(node) && TreeView_GetCheckState(hwnd_, Item(node)) == 1;
}

void Win32TreeView::SetChecked(TreeNode node, bool checked) {
    if (Known(node)) {
        TreeView_SetCheckState(hwnd_, Item(node), checked ? TRUE : FALSE);
    }
}

TreeNode Win32TreeView::Selected() const {
    return hwnd_ != nullptr ? NodeOf(TreeView_GetSelection(hwnd_)) : kNoNode;
}

void Win32TreeView::Select(TreeNode node) {
    if (Known(node)) {
        FromCode quiet(*this);
        TreeView_SelectItem(hwnd_, Item(node));
    }
}

void Win32TreeView::EnsureVisible(TreeNode node) {
    if (Known(node)) {
        FromCode quiet(*this);
        TreeView_EnsureVisible(hwnd_, Item(node));
    }
}

void Win32TreeView::SetOptions(const TreeOptions& options) {
    options_ = options;
    if (hwnd_ == nullptr) {
        return;
    }
    LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE) &
                     ~static_cast<LONG_PTR>(TVS_CHECKBOXES | TVS_FULLROWSELECT | TVS_SHOWSELALWAYS |
                                            TVS_TRACKSELECT | TVS_LINESATROOT);
    style |= (options.checkboxes ? TVS_CHECKBOXES : 0) |
             (options.fullRowSelect ? TVS_FULLROWSELECT : 0) |
             (options.hideSelection ? 0 : TVS_SHOWSELALWAYS) |
             (options.hotTracking ? TVS_TRACKSELECT : 0) |
             (options.linesToRoots ? TVS_LINESATROOT : 0);
    // The check boxes' pictures are made when the style is set on an existing tree.
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

TreeOptions Win32TreeView::Options() const {
    if (hwnd_ == nullptr) {
        return options_;
    }
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    TreeOptions options;
    options.checkboxes = (style & TVS_CHECKBOXES) != 0;
    options.fullRowSelect = (style & TVS_FULLROWSELECT) != 0;
    options.hideSelection = (style & TVS_SHOWSELALWAYS) == 0;
    options.hotTracking = (style & TVS_TRACKSELECT) != 0;
    options.linesToRoots = (style & TVS_LINESATROOT) != 0;
    // The tree always edits labels; the manual mode turns away the edits the user starts.
    options.labelEdit = options_.labelEdit;
    return options;
}

void Win32TreeView::SetFont(const FontSpec& font) {
    if (hwnd_ == nullptr) {
        return;
    }
    // Points to pixels at the screen's own resolution, through its twips per pixel.
    const int perPixel = window_.toolkit().Scale().twipsPerPixelY;
    const int height = -(font.points * 20 + perPixel / 2) / perPixel;
    FontHandle made(CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                Utf8ToWide(font.face).c_str()));
    if (made) {
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
        font_ = std::move(made);
    }
}

void Win32TreeView::SetBusy(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Win32TreeView::StartLabelEdit() {
    const TreeNode node = Selected();
    if (node != kNoNode) {
        editFromCode_ = true;
        TreeView_EditLabel(hwnd_, Item(node));
        editFromCode_ = false;
    }
}

TreeNode Win32TreeView::NodeAtCursor() const {
    TVHITTESTINFO hit{};
    hit.pt = lastPress_;
    HTREEITEM item = TreeView_HitTest(hwnd_, &hit);
    // A click on a node's check box ticks it and leaves the selection where it is.
    const UINT onNode = TVHT_ONITEMICON | TVHT_ONITEMLABEL;
    return item != nullptr && (hit.flags & onNode) != 0 ? NodeOf(item) : kNoNode;
}

bool Win32TreeView::OnNotify(const NMHDR& header, LRESULT* result) {
    *result = 0;
    if (hwnd_ == nullptr) {
        return false;
    }
    if (header.code == TVN_BEGINLABELEDITW || header.code == TVN_BEGINLABELEDITA) {
        const auto& edit = reinterpret_cast<const NMTVDISPINFOW&>(header);
        const auto before = onBeforeEdit_;
        const bool refused =
            (!options_.labelEdit && !editFromCode_) || (before && before(NodeOf(edit.item.hItem)));
        *result = refused ? TRUE : FALSE;
        return true;
    }
    if (header.code == TVN_ENDLABELEDITW) {
        const auto& edit = reinterpret_cast<const NMTVDISPINFOW&>(header);
        // No text: the user gave up with Esc.
        if (edit.item.pszText != nullptr) {
            const TreeNode node = NodeOf(edit.item.hItem);
            std::string text = WideToUtf8(edit.item.pszText);
            const auto after = onAfterEdit_;
            if (!(after && after(node, text))) {
                // Set here rather than by the tree, which would take the edit's own text.
                std::wstring wide = Utf8ToWide(text);
                TVITEMW item{};
                item.mask = TVIF_TEXT;
                item.hItem = Item(node);
                item.pszText = wide.data();
                TreeView_SetItem(hwnd_, &item);
            }
        }
        return true;
    }
    if (fromCode_) {
        return header.code == TVN_ITEMEXPANDINGW || header.code == TVN_ITEMEXPANDINGA;
    }
    switch (header.code) {
        case TVN_ITEMEXPANDINGW:
        case TVN_ITEMEXPANDINGA: {
            const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
            const TreeNode node = NodeOf(change.itemNew.hItem);
            const UINT action = change.action & (TVE_EXPAND | TVE_COLLAPSE);
            // Opening a node without children changes nothing, so it tells nothing.
            if (action == TVE_EXPAND && !Expanded(node) && FirstChild(node) != kNoNode) {
                Raise(onExpand_, node);
            } else if (action == TVE_COLLAPSE && Expanded(node)) {
                Raise(onCollapse_, node);
            }
            return true;
        }
        case TVN_SELCHANGEDW:
        case TVN_SELCHANGEDA: {
            // Clicks report themselves on release; the keyboard moves the selection here.
            const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
            if (change.action == TVC_BYKEYBOARD && change.itemNew.hItem != nullptr) {
                Raise(onNodeClick_, NodeOf(change.itemNew.hItem));
            }
            return true;
        }
        case NM_CLICK:
            if (const TreeNode node = NodeAtCursor(); node != kNoNode) {
                Raise(onNodeClick_, node);
            }
            Raise(onClick_);
            return true;
        case NM_DBLCLK:
            Raise(onDoubleClick_);
            return true;
        default:
            return false;
    }
}

LRESULT Win32TreeView::DefaultWithCheck(TreeNode node, UINT message, WPARAM wparam, LPARAM lparam) {
    const bool before = Checked(node);
    const LRESULT result = DefSubclassProc(hwnd_, message, wparam, lparam);
    if (node != kNoNode && Known(node) && Checked(node) != before) {
        Raise(onNodeCheck_, node);
    }
    return result;
}

bool Win32TreeView::OnSubclassMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    const bool input =
        (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE) ||
        message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR;
    if (input && !AcceptsInput()) {
        // Input meant for a tree that is disabled or hidden, or whose window is.
        return true;
    }
    const ScreenMetrics& scale = window_.toolkit().Scale();
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            Raise(onMouse_, MouseEventOf(message, wparam, lparam, scale));
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // The tree may take the release from the queue itself, so the press is the place.
            lastPress_ = POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            leftDown_ = true;
            Raise(onMouse_, MouseEventOf(WM_LBUTTONDOWN, wparam, lparam, scale));
            TVHITTESTINFO hit{};
            hit.pt = lastPress_;
            const HTREEITEM item = TreeView_HitTest(hwnd_, &hit);
            const bool onBox = (hit.flags & TVHT_ONITEMSTATEICON) != 0;
            result = DefaultWithCheck(onBox ? NodeOf(item) : kNoNode, message, wparam, lparam);
            // The tree's own tracking swallowed the release: tell it now.
            if (leftDown_ && GetAsyncKeyState(VK_LBUTTON) >= 0) {
                leftDown_ = false;
                Raise(onMouse_,
                      MouseEventOf(WM_LBUTTONUP, wparam & ~WPARAM{MK_LBUTTON}, lparam, scale));
            }
            return true;
        }
        case WM_LBUTTONUP:
            if (std::exchange(leftDown_, false)) {
                Raise(onMouse_, MouseEventOf(message, wparam, lparam, scale));
            }
            return false;
        case WM_KEYDOWN:
        case WM_KEYUP: {
            KeyEvent key = KeyOf(wparam);
            Raise(message == WM_KEYDOWN ? onKeyDown_ : onKeyUp_, key);
            if (key.key == 0) {
                return true;
            }
            const auto code = static_cast<WPARAM>(key.key);
            const bool space = message == WM_KEYDOWN && code == VK_SPACE;
            result = DefaultWithCheck(space ? Selected() : kNoNode, message, code, lparam);
            return true;
        }
        case WM_CHAR:
            // Withheld from the tree, whose own search by typed letters would move the selection.
            Raise(onKeyPress_, wparam < 0x80 ? static_cast<char>(wparam) : '?');
            return true;
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                result = TRUE;
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace kestrum::win32
