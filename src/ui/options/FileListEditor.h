#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "settings/StartupState.h"
#include "ui/selection/FileSelectionDialog.h"

namespace kestrum {

// What the selected-files list and its entry field need from the window that holds them.
class IFileListHost {
  public:
    virtual ~IFileListHost() = default;
    // A row was added, changed or removed, or the list cleared: Save is enabled, and the default
    // button stays where it is.
    virtual void ListEdited() = 0;
    // The "Delete select files?:" box, whose value says whether the list may be edited; it takes
    // the focus when the list empties.
    virtual ICheckBox& SelectedFilesBox() = 0;
    // Save becomes the default button if it is enabled, else Close.
    virtual void RestoreDefaultButton() = 0;
    // Neither is the default, so that Enter reaches the entry field.
    virtual void ClearDefaultButton() = 0;
};

// Where the list and its controls go on the window, in twips.
struct FileListLayout {
    TwipsRect list;
    // The column of Add, Update, Remove and Clear at the list's right: its left edge, the
    // buttons' size and the gap between them.
    int buttonsLeft = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    int buttonGap = 0;
};

// The selected-files list with its four buttons, its pop-up menu and the in-place entry field
// with its browse button. Each row shows its entry shortened to the list's width; the full
// entries are kept behind the rows, in row order.
class FileListEditor final : public IFileSelectionHost {
  public:
    // Creates the controls on the window in tab order: the list, Add, Update, Remove, Clear, the
    // entry field and its browse button. The list and the buttons start disabled, the field and
    // its button hidden and disabled.
    FileListEditor(const Platform& platform, IWindow& window, const FileListLayout& layout,
                   bool isWindowsNt, IFileListHost& host);
    FileListEditor(const FileListEditor&) = delete;
    FileListEditor& operator=(const FileListEditor&) = delete;
    ~FileListEditor() override;

    // The controls made, for the window to put on a tab's page.
    std::vector<IControl*> Controls() const;

    // Shows the entries from 1 up to the count, stopping at the first empty one, and selects the
    // first row.
    void Fill(const OptionState& options);
    // The list and its buttons follow the "Delete select files?:" box.
    void UpdateControls();
    // The full entries behind the rows, in row order.
    std::vector<std::string> Entries() const;

    // The window's keys: while an entry is open, Esc cancels it and F4 browses; otherwise both
    // answer false and do nothing.
    bool EntryActive() const { return entryActive_; }
    bool CancelEntry();
    bool BrowseKey();

    // IFileSelectionHost, for the File Selection dialog that browsing opens.
    void SetEntryText(const std::string& text) override;
    void SetBrowseFolder(const std::string& folder) override;
    void RestoreEntryField() override;
    TwipsRect Bounds() const override;

    const std::string& BrowseFolder() const { return browseFolder_; }

  private:
    enum class EntryMode { None, Add, Change };

    bool AddListEntry(const std::string& path);
    std::string DisplayText(const std::string& path) const;
    // Update, Remove and Clear, which need a row to act on.
    void EnableRowButtons(bool enabled);
    void Remove();
    void Clear();
    void ShowMenu(int x, int y);
    void StartAdding();
    void StartChanging();
    void Commit();
    void ShowField(int top);
    void LayoutEntryField();
    void FieldFocusChanged(bool gained);
    void SelectFirstRowIfNone();
    // Hands the focus to the control and ends the entry, whether or not the focus could move.
    void LeaveEntry(IControl& next);
    void HideEntry();
    void BrowseForPath();

    const Platform& platform_;
    IWindow& window_;
    IFileListHost& host_;
    bool isWindowsNt_;
    IListBox* list_ = nullptr;
    IPushButton* add_ = nullptr;
    IPushButton* update_ = nullptr;
    IPushButton* remove_ = nullptr;
    IPushButton* clear_ = nullptr;
    ITextBox* field_ = nullptr;
    IPushButton* browse_ = nullptr;
    std::vector<std::string> fullPaths_;
    std::string browseFolder_ = "c:\\";
    EntryMode entryMode_ = EntryMode::None;
    std::int16_t editIndex_ = -1;
    bool entryActive_ = false;
};

// The text shown for a path in a width of twips measured in the window's font: the first `keep`
// characters, "\ ...\" and as many trailing names as fit; the last name is never shortened.
std::string ShortenPath(const IWindow& window, const std::string& path, int width, int keep);
// A list's row for a path: shortened to the list's width less the room of its border and scroll
// bar, keeping the drive.
std::string ListRowText(const IWindow& window, const IListBox& list, const std::string& path);
// The row under a point of the list's inside, in twips, or -1.
int ListItemAt(const IListBox& list, int x, int y);
// The bottom of the selected row, in twips from the top of the list's inside; 0 when none.
int ListItemBottom(const IListBox& list);

}  // namespace kestrum
