#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/controls/PropertyBag.h"
#include "ui/selection/FolderTree.h"

namespace kestrum {

// The folder tree: the user's desktop and documents folders and every drive as roots, with the
// folders below them listed one level ahead of what is open. It maps between nodes and folders
// both ways and shows the selected node's ancestors on their on-path pictures.
class ExplorerTreeView {
  public:
    // The design-time settings come from the window's stored description.
    ExplorerTreeView(IWindow& window, const std::string& name, const TwipsRect& where,
                     const Platform& platform, bool isWindowsNt, const PropertyBag& properties);
    ExplorerTreeView(const ExplorerTreeView&) = delete;
    ExplorerTreeView& operator=(const ExplorerTreeView&) = delete;

    // The selected node's folder in lower case, a drive root with its separator; "" for none.
    std::string Path() const;
    // Opens the tree down to the folder and selects it; a folder that does not exist selects the
    // C: root. Assigning what the tree shows already does nothing.
    void SetPath(const std::string& path);
    // The next Path assignment, or Refresh, builds the tree anew.
    void SetUpdateFlag() { updateFlag_ = true; }
    void Refresh();
    // Removes every node.
    void Clear() { tree_.Clear(); }
    const TreeFolders& Folders() const { return folders_; }
    void WriteProperties(PropertyBag& properties) const;
    ITreeView& tree() { return tree_; }

    // Raised before the tree's own handling of the same event. The tree's other events (clicks,
    // keys, the mouse, check boxes, label edits) reach a host through tree() as they are.
    void SetOnExpand(std::function<void(TreeNode)> handler) { onExpand_ = std::move(handler); }
    void SetOnCollapse(std::function<void(TreeNode)> handler) { onCollapse_ = std::move(handler); }
    void SetOnNodeClick(std::function<void(TreeNode)> handler) {
        onNodeClick_ = std::move(handler);
    }
    void SetOnDoubleClick(std::function<void()> handler) {
        tree_.SetOnDoubleClick(std::move(handler));
    }

  private:
    void BuildTree();
    // Adds the sub-folders of a node's folder as its children; false when it cannot be listed.
    bool ListSubfolders(TreeNode node);
    // Lists the children's own sub-folders, so the tree can show which of them open.
    void PreloadChildren(TreeNode node);
    void Expanded(TreeNode node);
    void Collapsed(TreeNode node);
    void NodeClicked(TreeNode node);
    // The texts of the node and its ancestors joined by "\\".
    std::string FullPath(TreeNode node) const;
    TreeImages ImagesOf(TreeNode node) const;
    // A node's picture when neither it nor a descendant is selected.
    int NormalImage(TreeNode node) const;

    const Platform& platform_;
    ITreeView& tree_;
    TreeFolders folders_;
    std::set<TreeNode> preloaded_;
    std::vector<TreeNode> highlighted_;
    std::string lastPath_;
    bool updateFlag_ = false;
    std::function<void(TreeNode)> onNodeClick_;
    std::function<void(TreeNode)> onExpand_;
    std::function<void(TreeNode)> onCollapse_;
};

}  // namespace kestrum
