#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "ui/selection/ExplorerTreeView.h"

namespace kestrum {

// What the File Selection dialog needs of the window that opens it: the entry field it fills,
// the folder the next browse starts in, and where the caller stands on the screen.
class IFileSelectionHost {
  public:
    virtual ~IFileSelectionHost() = default;
    virtual void SetEntryText(const std::string& text) = 0;
    virtual void SetBrowseFolder(const std::string& folder) = 0;
    // Shows and enables the entry field, then its browse button.
    virtual void RestoreEntryField() = 0;
    virtual TwipsRect Bounds() const = 0;
};

inline constexpr char kFileSelectionTitle[] = " File Selection";

// The modal dialog in which the user picks a file, a file pattern or a folder: a folder tree,
// the chosen folder's files, a file name that doubles as a pattern, and shortcuts to the desktop
// and documents folders. Select writes the choice into the host's entry field.
class FileSelectionDialog {
  public:
    FileSelectionDialog(const Platform& platform, bool isWindowsNt, IFileSelectionHost& host);
    FileSelectionDialog(const FileSelectionDialog&) = delete;
    FileSelectionDialog& operator=(const FileSelectionDialog&) = delete;

    // Opens the tree at the folder and lists its files.
    void ChangePath(const std::string& path);
    void SetFileName(const std::string& name) { fileName_->SetText(name); }
    void ShowModal() { window_->ShowModal(); }
    IWindow& window() { return *window_; }
    ExplorerTreeView& tree() { return *tree_; }

  private:
    void FillList();
    void NameChanged();
    void Select();

    const Platform& platform_;
    IFileSelectionHost& host_;
    std::unique_ptr<IWindow> window_;
    std::unique_ptr<ExplorerTreeView> tree_;
    IListBox* list_ = nullptr;
    ILabel* count_ = nullptr;
    ITextBox* fileName_ = nullptr;
    std::string pattern_ = "*.*";
    // The folder the list shows, kept for the close, when the tree's window has gone.
    std::string folder_;
    // The name a click on the list put into the file name must not refilter the list.
    bool ignoreNameChange_ = false;
};

}  // namespace kestrum
