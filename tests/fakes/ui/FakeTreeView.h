#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fakes/ui/FakeUiToolkit.h"

namespace kestrum::fakes {

// Nodes in memory, with the system tree's handling of the user's clicks and arrow keys.
class FakeTreeView final : public FakeControl, public ITreeView {
  public:
    FakeTreeView(FakeWindow& window, const std::string& name, const TwipsRect& where)
        : FakeControl(window, name, "", where) {}

    TreeNode AddNode(TreeNode parent, const std::string& key, const std::string& text, int image,
                     int selectedImage) override;
    void Clear() override;
    TreeNode FindNode(const std::string& key) const override;
    std::vector<TreeNode> Nodes() const override { return order_; }
    std::string NodeKey(TreeNode node) const override { return Get(node, &Node::key); }
    std::string NodeText(TreeNode node) const override { return Get(node, &Node::text); }
    int NodeImage(TreeNode node) const override { return Get(node, &Node::image); }
    void SetNodeImage(TreeNode node, int image) override;
    TreeNode Parent(TreeNode node) const override { return Get(node, &Node::parent); }
    TreeNode FirstChild(TreeNode node) const override;
    TreeNode NextSibling(TreeNode node) const override;
    bool Expanded(TreeNode node) const override { return Get(node, &Node::expanded); }
    void SetExpanded(TreeNode node, bool expanded) override;
    bool Checked(TreeNode node) const override { return Get(node, &Node::checked); }
    void SetChecked(TreeNode node, bool checked) override;
    TreeNode Selected() const override { return selected_; }
    void Select(TreeNode node) override;
    void EnsureVisible(TreeNode node) override;
    void SetOptions(const TreeOptions& options) override { options_ = options; }
    TreeOptions Options() const override { return options_; }
    void SetFont(const FontSpec&) override {}
    void SetBusy(bool busy) override { busy_ = busy; }
    bool Busy() const override { return busy_; }
    void StartLabelEdit() override;

    void SetOnExpand(std::function<void(TreeNode)> h) override { onExpand_ = std::move(h); }
    void SetOnCollapse(std::function<void(TreeNode)> h) override { onCollapse_ = std::move(h); }
    void SetOnNodeClick(std::function<void(TreeNode)> h) override { onNodeClick_ = std::move(h); }
    void SetOnClick(std::function<void()> h) override { onClick_ = std::move(h); }
    void SetOnDoubleClick(std::function<void()> h) override { onDoubleClick_ = std::move(h); }
    void SetOnKeyDown(std::function<void(KeyEvent&)> h) override { onKeyDown_ = std::move(h); }
    void SetOnKeyPress(std::function<void(char)> h) override { onKeyPress_ = std::move(h); }
    void SetOnKeyUp(std::function<void(KeyEvent&)> h) override { onKeyUp_ = std::move(h); }
    void SetOnMouse(std::function<void(const MouseEvent&)> h) override { onMouse_ = std::move(h); }
    void SetOnNodeCheck(std::function<void(TreeNode)> h) override { onNodeCheck_ = std::move(h); }
    void SetOnBeforeLabelEdit(std::function<bool(TreeNode)> h) override {
        onBeforeEdit_ = std::move(h);
    }
    void SetOnAfterLabelEdit(std::function<bool(TreeNode, std::string&)> h) override {
        onAfterEdit_ = std::move(h);
    }

    // The user's hand on a node, by its key; ignored unless the tree accepts input.
    void UserTree(TreeAction action, const std::string& key);
    bool UserKey(const KeyEvent& key) override;
    // The user's text in the open label, confirmed with Enter or dropped with Esc.
    void UserLabel(const std::string& text, bool confirm);

  private:
    struct Node {
        std::string key;
        std::string text;
        int image = 0;
        int selectedImage = 0;
        TreeNode parent = kNoNode;
        std::vector<TreeNode> children;
        bool expanded = false;
        bool checked = false;
    };
    const Node* Find(TreeNode node) const {
        const auto it = nodes_.find(node);
        return it != nodes_.end() && node != kNoNode ? &it->second : nullptr;
    }
    Node* Find(TreeNode node) { return const_cast<Node*>(std::as_const(*this).Find(node)); }
    // A field of the node, or its empty value when there is no such node.
    template <typename T>
    T Get(TreeNode node, T Node::*field) const {
        const Node* n = Find(node);
        return n != nullptr ? n->*field : T();
    }
    // Opens or closes the node as the user does, telling the handlers first.
    void UserToggle(TreeNode node, bool open);
    void UserSelect(TreeNode node);
    void UserCheck(TreeNode node);
    void BeginEdit();
    // The nodes shown, top to bottom.
    std::vector<TreeNode> Shown() const;

    // The roots are the children of an invisible node at kNoNode.
    std::map<TreeNode, Node> nodes_{{kNoNode, {}}};
    std::map<std::string, TreeNode> byKey_;
    std::vector<TreeNode> order_;
    std::uintptr_t nextId_ = 1;
    TreeNode selected_ = kNoNode;
    TreeNode editing_ = kNoNode;
    TreeOptions options_;
    bool busy_ = false;

    std::function<void(TreeNode)> onExpand_;
    std::function<void(TreeNode)> onCollapse_;
    std::function<void(TreeNode)> onNodeClick_;
    std::function<void()> onDoubleClick_;
    std::function<void(KeyEvent&)> onKeyDown_;
    std::function<void(char)> onKeyPress_;
    std::function<void(KeyEvent&)> onKeyUp_;
    std::function<void(TreeNode)> onNodeCheck_;
    std::function<bool(TreeNode)> onBeforeEdit_;
    std::function<bool(TreeNode, std::string&)> onAfterEdit_;
};

}  // namespace kestrum::fakes
