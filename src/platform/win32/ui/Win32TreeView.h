#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win32/ResourceIds.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

// The resource ids of the tree's 23 pictures, a strip on a magenta ground: 16 x 16 each for
// 96 dpi, and drawn again at 24 x 24 for 144 dpi.
inline constexpr int kTreeImagesResource = KESTRUM_TREE_IMAGES;
inline constexpr int kTreeImages24Resource = KESTRUM_TREE_IMAGES_24;

// A SysTreeView32 with the tree's pictures from the program's resources, subclassed so that the
// program sees the keys first and typed characters never reach the tree's own search.
class Win32TreeView final : public Win32Control, public ITreeView {
  public:
    Win32TreeView(Win32Window& window, const std::string& name, int id, const TwipsRect& where);
    ~Win32TreeView() override;

    TreeNode AddNode(TreeNode parent, const std::string& key, const std::string& text, int image,
                     int selectedImage) override;
    void Clear() override;
    TreeNode FindNode(const std::string& key) const override;
    std::vector<TreeNode> Nodes() const override { return order_; }
    std::string NodeKey(TreeNode node) const override;
    std::string NodeText(TreeNode node) const override;
    int NodeImage(TreeNode node) const override;
    void SetNodeImage(TreeNode node, int image) override;
    TreeNode Parent(TreeNode node) const override;
    TreeNode FirstChild(TreeNode node) const override;
    TreeNode NextSibling(TreeNode node) const override;
    bool Expanded(TreeNode node) const override;
    void SetExpanded(TreeNode node, bool expanded) override;
    bool Checked(TreeNode node) const override;
    void SetChecked(TreeNode node, bool checked) override;
    TreeNode Selected() const override;
    void Select(TreeNode node) override;
    void EnsureVisible(TreeNode node) override;
    void SetOptions(const TreeOptions& options) override;
    TreeOptions Options() const override;
    void SetFont(const FontSpec& font) override;
    void SetBusy(bool busy) override;
    bool Busy() const override { return busy_; }
    void StartLabelEdit() override;

    void SetOnExpand(std::function<void(TreeNode)> handler) override {
        onExpand_ = std::move(handler);
    }
    void SetOnCollapse(std::function<void(TreeNode)> handler) override {
        onCollapse_ = std::move(handler);
    }
    void SetOnNodeClick(std::function<void(TreeNode)> handler) override {
        onNodeClick_ = std::move(handler);
    }
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
    void SetOnDoubleClick(std::function<void()> handler) override {
        onDoubleClick_ = std::move(handler);
    }
    void SetOnKeyDown(std::function<void(KeyEvent&)> handler) override {
        onKeyDown_ = std::move(handler);
    }
    void SetOnKeyPress(std::function<void(char)> handler) override {
        onKeyPress_ = std::move(handler);
    }
    void SetOnKeyUp(std::function<void(KeyEvent&)> handler) override {
        onKeyUp_ = std::move(handler);
    }
    void SetOnMouse(std::function<void(const MouseEvent&)> handler) override {
        onMouse_ = std::move(handler);
    }
    void SetOnNodeCheck(std::function<void(TreeNode)> handler) override {
        onNodeCheck_ = std::move(handler);
    }
    void SetOnBeforeLabelEdit(std::function<bool(TreeNode)> handler) override {
        onBeforeEdit_ = std::move(handler);
    }
    void SetOnAfterLabelEdit(std::function<bool(TreeNode, std::string&)> handler) override {
        onAfterEdit_ = std::move(handler);
    }

    bool OnNotify(const NMHDR& header, LRESULT* result) override;

  private:
    bool OnSubclassMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
    // The tree's own handling of a message that may tick or clear the node's check box; the
    // change is told after it.
    LRESULT DefaultWithCheck(TreeNode node, UINT message, WPARAM wparam, LPARAM lparam);
    // The node under the point of the last mouse message, or kNoNode.
    TreeNode NodeAtCursor() const;
    bool Known(TreeNode node) const;
    class FromCode;

    struct ImageListTraits {
        using Handle = HIMAGELIST;
        static Handle None() { return nullptr; }
        static void Close(Handle h) { ImageList_Destroy(h); }
    };
    UniqueHandle<ImageListTraits> images_;
    FontHandle font_;
    std::unordered_map<std::string, TreeNode> byKey_;
    std::unordered_map<TreeNode, std::string> keys_;
    std::vector<TreeNode> order_;
    bool busy_ = false;
    bool fromCode_ = false;
    // An edit StartLabelEdit opens, which the manual mode lets through.
    bool editFromCode_ = false;
    TreeOptions options_;
    POINT lastPress_{};
    // A left press has been told and its release not yet.
    bool leftDown_ = false;

    std::function<void(TreeNode)> onExpand_;
    std::function<void(TreeNode)> onCollapse_;
    std::function<void(TreeNode)> onNodeClick_;
    std::function<void()> onClick_;
    std::function<void()> onDoubleClick_;
    std::function<void(KeyEvent&)> onKeyDown_;
    std::function<void(char)> onKeyPress_;
    std::function<void(KeyEvent&)> onKeyUp_;
    std::function<void(const MouseEvent&)> onMouse_;
    std::function<void(TreeNode)> onNodeCheck_;
    std::function<bool(TreeNode)> onBeforeEdit_;
    std::function<bool(TreeNode, std::string&)> onAfterEdit_;
};

}  // namespace kestrum::win32
