#include "ui/selection/ExplorerTreeView.h"

#include "common/Text.h"

namespace kestrum {

namespace {

// The tree fills the control but for a margin its frame would take.
constexpr int kFrameMargin = 60;
constexpr char kDesktopText[] = "Desktop";
constexpr char kDocumentsText[] = "My Documents";

std::string WithSeparator(std::string path) {
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    return path;
}

// The components of a path, empty ones left out.
std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (end > start) {
            parts.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

}  // namespace

ExplorerTreeView::ExplorerTreeView(IWindow& window, const std::string& name, const TwipsRect& where,
                                   const Platform& platform, bool isWindowsNt,
                                   const PropertyBag& properties)
    : platform_(platform),
      tree_(window.AddTreeView(
          name, {where.left, where.top, where.width - kFrameMargin, where.height - kFrameMargin})) {
    folders_ = UserTreeFolders(isWindowsNt, ToLowerAscii(platform_.system.UserName().value_or("")),
                               ToLowerAscii(platform_.system.WindowsDirectory().value_or("")));
    tree_.SetOnExpand([this](TreeNode node) { Expanded(node); });
    tree_.SetOnCollapse([this](TreeNode node) { Collapsed(node); });
    tree_.SetOnNodeClick([this](TreeNode node) { NodeClicked(node); });
    BuildTree();

    TreeOptions options;
    options.checkboxes = properties.Read("Checkboxes", false);
    options.fullRowSelect = properties.Read("FullRowSelect", false);
    options.hideSelection = properties.Read("HideSelection", true);
    options.hotTracking = properties.Read("HotTracking", false);
    options.labelEdit = properties.Read<std::int64_t>("LabelEdit", 0) == 0;
    options.linesToRoots = properties.Read<std::int64_t>("LineStyle", 1) == 1;
    tree_.SetOptions(options);
    tree_.SetEnabled(properties.Read("Enabled", true));
}

void ExplorerTreeView::WriteProperties(PropertyBag& properties) const {
    const TreeOptions options = tree_.Options();
    properties.Write("Checkboxes", options.checkboxes, false);
    properties.Write("Enabled", tree_.Enabled(), true);
    properties.Write("FullRowSelect", options.fullRowSelect, false);
    properties.Write("HideSelection", options.hideSelection, true);
    properties.Write("HotTracking", options.hotTracking, false);
    properties.Write<std::int64_t>("LabelEdit", options.labelEdit ? 0 : 1, 0);
    properties.Write<std::int64_t>("LineStyle", options.linesToRoots ? 1 : 0, 1);
}

void ExplorerTreeView::BuildTree() {
    tree_.Clear();
    preloaded_.clear();
    // The old nodes are gone, and with them what they showed.
    highlighted_.clear();
    ListSubfolders(tree_.AddNode(kNoNode, folders_.desktop, kDesktopText,
                                 treeimages::kDesktop.normal, treeimages::kDesktop.selected));
    ListSubfolders(tree_.AddNode(kNoNode, folders_.documents, kDocumentsText,
                                 treeimages::kDocuments.normal, treeimages::kDocuments.selected));
    for (const DriveInfo& drive : platform_.files.Drives()) {
        const TreeImages images = DriveImages(drive.type);
        const std::string root = ToLowerAscii(std::string(1, drive.letter)) + ":\\";
        ListSubfolders(
            tree_.AddNode(kNoNode, root, DriveNodeText(drive), images.normal, images.normal + 1));
    }
}

bool ExplorerTreeView::ListSubfolders(TreeNode node) {
    if (node == kNoNode) {
        return false;
    }
    const std::string key = tree_.NodeKey(node);
    if (!platform_.files.FolderExists(key)) {
        return false;
    }
    for (const std::string& name : TreeSubfolders(platform_.files, platform_.locale, key)) {
        // A folder listed before keeps its node; only new ones are added after the others.
        tree_.AddNode(node, key + name + "\\", name, treeimages::kFolder.normal,
                      treeimages::kFolder.selected);
    }
    return true;
}

void ExplorerTreeView::PreloadChildren(TreeNode node) {
    if (!preloaded_.insert(node).second) {
        return;
    }
    tree_.SetBusy(true);
    for (TreeNode child = tree_.FirstChild(node); child != kNoNode;
         child = tree_.NextSibling(child)) {
        // A child that cannot be opened ends the walk; the later ones stay unlisted.
        if (!ListSubfolders(child)) {
            break;
        }
        platform_.ui.ProcessPendingEvents();
    }
    tree_.SetBusy(false);
}

std::string ExplorerTreeView::FullPath(TreeNode node) const {
    std::string path = tree_.NodeText(node);
    for (TreeNode up = tree_.Parent(node); up != kNoNode; up = tree_.Parent(up)) {
        path = tree_.NodeText(up) + "\\" + path;
    }
    return path;
}

TreeImages ExplorerTreeView::ImagesOf(TreeNode node) const {
    const std::string fullPath = FullPath(node);
    if (fullPath == kDesktopText) {
        return treeimages::kDesktop;
    }
    if (fullPath == kDocumentsText) {
        return treeimages::kDocuments;
    }
    const std::string key = tree_.NodeKey(node);
    if (key.size() >= 4) {
        return treeimages::kFolder;
    }
    for (const DriveInfo& drive : platform_.files.Drives()) {
        if (!key.empty() &&
            ToLowerAscii(std::string(1, drive.letter)) == ToLowerAscii(key.substr(0, 1))) {
            return DriveImages(drive.type);
        }
    }
    return treeimages::kRemovable;
}

int ExplorerTreeView::NormalImage(TreeNode node) const {
    const TreeImages images = ImagesOf(node);
    if (images.normal == treeimages::kFolder.normal && tree_.Expanded(node)) {
        return treeimages::kOpenFolder;
    }
    return images.normal;
}

void ExplorerTreeView::Expanded(TreeNode node) {
    if (onExpand_) {
        auto handler = onExpand_;
        handler(node);
    }
    const std::string fullPath = FullPath(node);
    if (fullPath != kDesktopText && fullPath != kDocumentsText && tree_.NodeKey(node).size() >= 4) {
        tree_.SetNodeImage(node, treeimages::kOpenFolder);
    }
    PreloadChildren(node);
}

void ExplorerTreeView::Collapsed(TreeNode node) {
    if (onCollapse_) {
        auto handler = onCollapse_;
        handler(node);
    }
    const std::string fullPath = FullPath(node);
    if (fullPath != kDesktopText && fullPath != kDocumentsText && tree_.NodeKey(node).size() > 3) {
        tree_.SetNodeImage(node, treeimages::kFolder.normal);
    }
}

void ExplorerTreeView::NodeClicked(TreeNode node) {
    if (onNodeClick_) {
        auto handler = onNodeClick_;
        handler(node);
    }
    for (TreeNode was : highlighted_) {
        tree_.SetNodeImage(was, NormalImage(was));
    }
    highlighted_.clear();
    for (TreeNode up = tree_.Parent(node); up != kNoNode; up = tree_.Parent(up)) {
        tree_.SetNodeImage(up, ImagesOf(up).onPath);
        highlighted_.push_back(up);
        platform_.ui.ProcessPendingEvents();
    }
    lastPath_ = Path();
}

std::string ExplorerTreeView::Path() const {
    const TreeNode selected = tree_.Selected();
    return selected == kNoNode ? std::string() : SelectedPathOfKey(tree_.NodeKey(selected));
}

void ExplorerTreeView::Refresh() {
    if (updateFlag_) {
        SetPath(Path());
    }
}

void ExplorerTreeView::SetPath(const std::string& requested) {
    if (updateFlag_) {
        BuildTree();
        lastPath_.clear();
        updateFlag_ = false;
    }
    std::string path = requested;
    if (!platform_.files.FolderExists(path)) {
        path = "c:\\";
        lastPath_.clear();
    }
    path = WithSeparator(path);
    lastPath_ = WithSeparator(lastPath_);
    // Exactly, case and all: only the very same spelling counts as no change.
    if (lastPath_ == path) {
        return;
    }
    lastPath_ = path;

    TreeNode deepest = kNoNode;
    std::string prefix;
    for (const std::string& component : Components(TreeWalkPath(path, folders_))) {
        prefix = prefix.empty() ? component : prefix + "\\" + component;
        for (TreeNode node : tree_.Nodes()) {
            if (NormalizeNodePath(FullPath(node)) == prefix) {
                // Listed again, so folders made since the last look show up.
                preloaded_.erase(node);
                PreloadChildren(node);
                tree_.SetExpanded(node, true);
                tree_.Select(node);
                deepest = node;
                break;
            }
        }
    }
    // A walk that stopped short still marks the deepest folder it reached; one that found
    // nothing has no node to mark.
    if (deepest != kNoNode) {
        NodeClicked(deepest);
    }
}

}  // namespace kestrum
