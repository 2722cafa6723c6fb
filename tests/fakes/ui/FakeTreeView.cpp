#include "fakes/ui/FakeTreeView.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace kestrum::fakes {

ITreeView& FakeWindow::AddTreeView(const std::string& name, const TwipsRect& where) {
    return Adopt(std::make_unique<FakeTreeView>(*this, name, where));
}

TreeNode FakeTreeView::AddNode(TreeNode parent, const std::string& key, const std::string& text,
                               int image, int selectedImage) {
    if (byKey_.count(key) != 0 || nodes_.count(parent) == 0) {
        return kNoNode;
    }
    const TreeNode node{nextId_++};
    nodes_[parent].children.push_back(node);
    nodes_[node] = Node{key, text, image, selectedImage, parent, {}, false, false};
    byKey_[key] = node;
    order_.push_back(node);
    return node;
}

void FakeTreeView::Clear() {
    editing_ = kNoNode;
    nodes_ = {{kNoNode, {}}};
    byKey_.clear();
    order_.clear();
    selected_ = kNoNode;
}

TreeNode FakeTreeView::FindNode(const std::string& key) const {
    const auto it = byKey_.find(key);
    return it != byKey_.end() ? it->second : kNoNode;
}

void FakeTreeView::SetNodeImage(TreeNode node, int image) {
    if (Node* n = Find(node)) {
        n->image = image;
    }
}

TreeNode FakeTreeView::FirstChild(TreeNode node) const {
    const Node* n = Find(node);
    return n != nullptr && !n->children.empty() ? n->children.front() : kNoNode;
}

TreeNode FakeTreeView::NextSibling(TreeNode node) const {
    const Node* n = Find(node);
    if (n == nullptr) {
        return kNoNode;
    }
    const std::vector<TreeNode>& siblings = nodes_.at(n->parent).children;
    const auto it = std::find(siblings.begin(), siblings.end(), node);
    return it + 1 < siblings.end() ? *(it + 1) : kNoNode;
}

void FakeTreeView::SetExpanded(TreeNode node, bool expanded) {
    Node* n = Find(node);
    // As on the system: a node without children stays closed.
    if (n == nullptr || (expanded && n->children.empty())) {
        return;
    }
    n->expanded = expanded;
    if (!expanded) {
        // Closing a node over the selection moves the selection to it, telling no one.
        for (TreeNode up = Parent(selected_); up != kNoNode; up = Parent(up)) {
            if (up == node) {
                selected_ = node;
                break;
            }
        }
    }
}

void FakeTreeView::SetChecked(TreeNode node, bool checked) {
    if (Node* n = Find(node)) {
        n->checked = checked;
    }
}

void FakeTreeView::UserCheck(TreeNode node) {
    if (Node* n = Find(node); n != nullptr && options_.checkboxes) {
        n->checked = !n->checked;
        Guarded(onNodeCheck_, node);
    }
}

void FakeTreeView::Select(TreeNode node) {
    if (Find(node) != nullptr) {
        selected_ = node;
    }
}

void FakeTreeView::EnsureVisible(TreeNode node) {
    for (TreeNode up = Parent(node); up != kNoNode; up = Parent(up)) {
        SetExpanded(up, true);
    }
}

std::vector<TreeNode> FakeTreeView::Shown() const {
    std::vector<TreeNode> shown;
    std::function<void(const std::vector<TreeNode>&)> walk = [&](const std::vector<TreeNode>& of) {
        for (TreeNode node : of) {
            shown.push_back(node);
            if (Find(node)->expanded) {
                walk(Find(node)->children);
            }
        }
    };
    walk(nodes_.at(kNoNode).children);
    return shown;
}

void FakeTreeView::UserToggle(TreeNode node, bool open) {
    const Node* n = Find(node);
    if (n == nullptr || n->expanded == open || n->children.empty()) {
        return;
    }
    Guarded(open ? onExpand_ : onCollapse_, node);
    SetExpanded(node, open);
}

void FakeTreeView::UserSelect(TreeNode node) {
    if (node != kNoNode && node != selected_) {
        selected_ = node;
        Guarded(onNodeClick_, node);
    }
}

void FakeTreeView::StartLabelEdit() {
    if (selected_ != kNoNode) {
        BeginEdit();
    }
}

void FakeTreeView::BeginEdit() {
    if (!Guarded(onBeforeEdit_, selected_)) {
        editing_ = selected_;
    }
}

void FakeTreeView::UserLabel(const std::string& text, bool confirm) {
    const TreeNode node = std::exchange(editing_, kNoNode);
    if (node == kNoNode || !confirm || Find(node) == nullptr) {
        return;
    }
    std::string changed = text;
    if (!Guarded(onAfterEdit_, node, changed)) {
        Find(node)->text = changed;
    }
}

void FakeTreeView::UserTree(TreeAction action, const std::string& key) {
    const TreeNode node = FindNode(key);
    if (!AcceptsInput() || node == kNoNode) {
        return;
    }
    SetFocus();
    MouseEvent mouse{MouseAction::Press, MouseButton::Left, 0, 0};
    Guarded(onMouse_, mouse);
    if (action == TreeAction::Check) {
        UserCheck(node);
        Guarded(onClick_);
    } else if (action == TreeAction::Toggle) {
        // The click on the button is a click in the tree, told before the node opens or closes.
        Guarded(onClick_);
        UserToggle(node, !Expanded(node));
    } else {
        const bool again = node == selected_;
        selected_ = node;
        Guarded(onNodeClick_, node);
        Guarded(onClick_);
        // A second click on the selected node opens its label, unless a double-click follows.
        if (again && action == TreeAction::Click && options_.labelEdit) {
            BeginEdit();
        }
        if (action == TreeAction::DoubleClick) {
            Guarded(onDoubleClick_);
            UserToggle(node, !Expanded(node));
        }
    }
    mouse.action = MouseAction::Release;
    Guarded(onMouse_, mouse);
}

bool FakeTreeView::UserKey(const KeyEvent& pressed) {
    // The dialog manager's keys, which the system tree never sees.
    if (DialogKey(pressed)) {
        return false;
    }
    if (!AcceptsInput()) {
        return true;
    }
    KeyEvent key = pressed;
    Guarded(onKeyDown_, key);
    const std::vector<TreeNode> shown = Shown();
    const auto at = std::find(shown.begin(), shown.end(), selected_);
    if (at != shown.end()) {
        const Node& n = *Find(selected_);
        switch (key.key) {
            case keys::kUp:
                UserSelect(at != shown.begin() ? *(at - 1) : kNoNode);
                break;
            case keys::kDown:
                UserSelect(at + 1 < shown.end() ? *(at + 1) : kNoNode);
                break;
            case keys::kRight:
                if (!n.expanded) {
                    UserToggle(selected_, true);
                } else {
                    UserSelect(FirstChild(selected_));
                }
                break;
            case keys::kLeft:
                if (n.expanded) {
                    UserToggle(selected_, false);
                } else {
                    UserSelect(n.parent);
                }
                break;
            case keys::kSpace:
                UserCheck(selected_);
                break;
            default:
                break;
        }
    }
    // The character comes from the key as pressed, whatever the handler made of it.
    const int code = pressed.key;
    if (std::isalnum(code) != 0 || code == keys::kSpace) {
        const bool upper = std::isalpha(code) != 0 && pressed.shift;
        Guarded(onKeyPress_, static_cast<char>(upper ? code : std::tolower(code)));
    }
    KeyEvent released = pressed;
    Guarded(onKeyUp_, released);
    return true;
}

}  // namespace kestrum::fakes
