#include "ui/options/FileListEditor.h"

#include <algorithm>
#include <limits>

#include "settings/ListFile.h"

namespace kestrum {

namespace {

// Row counts and indexes are 16-bit throughout, as the list file's count is.
constexpr int kMaxRows = std::numeric_limits<std::int16_t>::max();
constexpr char kMarker[] = "\\ ...\\";
constexpr int kMarkerLength = 6;
// A text fits when it leaves this much of the width free.
constexpr int kFitMargin = 60;
// Room the rows leave for the list's border and scroll bar.
constexpr int kRowMargin = 300;
constexpr int kKeep = 2;
constexpr int kFieldIndent = 15;
constexpr int kFieldHeight = 285;
constexpr int kBrowseWidth = 255;
constexpr int kBrowseHeight = 255;
constexpr int kBrowseInset = 15;
constexpr int kFieldMargin = 30;
// From this many rows on, the list shows a vertical scroll bar that the field must not cover.
constexpr int kScrollRows = 8;
constexpr int kScrollBarWidth = 270;
constexpr int kRowHeight = 195;

// The entry field and its browse button are shown only while usable, and usable only while shown.
void SetShown(IControl& control, bool shown) {
    control.SetVisible(shown);
    control.SetEnabled(shown);
}

int Clamp16(int value) {
    return std::clamp(value, static_cast<int>(std::numeric_limits<std::int16_t>::min()), kMaxRows);
}

// The first "\" at or after the 1-based position, as a 1-based position; 0 when none.
std::size_t FindSeparator(const std::string& s, std::size_t from) {
    const std::size_t at = s.find('\\', from - 1);
    return at == std::string::npos ? 0 : at + 1;
}

std::string WithMarker(const std::string& s, std::size_t keep, std::size_t separator) {
    return s.substr(0, keep) + kMarker + s.substr(separator);
}

}  // namespace

std::string ShortenPath(const IWindow& window, const std::string& path, int width, int keep) {
    const auto fits = [&](const std::string& s) {
        return window.MeasureText(s).width + kFitMargin <= width;
    };
    const auto n = static_cast<std::size_t>(std::max(keep, 0));
    std::string s = path;
    if (!fits(s)) {
        if (const std::size_t p = FindSeparator(s, n + 2); p != 0) {
            s = WithMarker(s, n, p);
        }
    }
    // Each pass drops the first name after the marker; the last name always stays.
    while (!fits(s)) {
        const std::size_t p = FindSeparator(s, n + kMarkerLength + 1);
        if (p == 0) {
            break;
        }
        s = WithMarker(s, n, p);
    }
    if (s.size() >= 4 && s[2] == '\\' && s[3] == '\\') {
        s.erase(3, 1);
    }
    return s;
}

std::string ListRowText(const IWindow& window, const IListBox& list, const std::string& path) {
    return ShortenPath(window, path, Clamp16(list.Bounds().width - kRowMargin), kKeep);
}

int ListItemAt(const IListBox& list, int x, int y) {
    for (int row = 0; row < list.Count(); ++row) {
        const TwipsRect r = list.ItemRect(row);
        if (x >= r.left && x <= r.left + r.width && y >= r.top && y <= r.top + r.height) {
            return row;
        }
    }
    return -1;
}

int ListItemBottom(const IListBox& list) {
    const TwipsRect r = list.ItemRect(list.SelectedIndex());
    return r.top + r.height;
}

FileListEditor::FileListEditor(const Platform& platform, IWindow& window,
                               const FileListLayout& layout, bool isWindowsNt, IFileListHost& host)
    : platform_(platform), window_(window), host_(host), isWindowsNt_(isWindowsNt) {
    list_ = &window_.AddListBox("FileList", layout.list, false);
    const auto button = [&](const char* name, int index, const char* caption) {
        const int top = layout.list.top + index * (layout.buttonHeight + layout.buttonGap);
        IPushButton& b = window_.AddPushButton(
            name, {layout.buttonsLeft, top, layout.buttonWidth, layout.buttonHeight}, caption);
        b.SetEnabled(false);
        return &b;
    };
    add_ = button("addButton", 0, "&Add");
    update_ = button("updateButton", 1, "&Update");
    remove_ = button("removeButton", 2, "&Remove");
    clear_ = button("clearButton", 3, "C&lear");
    const TwipsRect& l = layout.list;
    field_ =
        &window_.AddTextBox("InputField", {l.left + kFieldIndent, l.top, l.width, kFieldHeight});
    browse_ =
        &window_.AddPushButton("InputButton", {l.left, l.top, kBrowseWidth, kBrowseHeight}, "...");
    browse_->SetToolTip("Browse (F4)");
    list_->SetEnabled(false);
    HideEntry();
    LayoutEntryField();

    add_->SetOnClick([this] { StartAdding(); });
    update_->SetOnClick([this] { StartChanging(); });
    remove_->SetOnClick([this] { Remove(); });
    clear_->SetOnClick([this] { Clear(); });
    list_->SetOnMouse([this](const MouseEvent& event) {
        if (event.action == MouseAction::Move) {
            const int row = ListItemAt(*list_, event.x, event.y);
            list_->SetToolTip(row >= 0 ? fullPaths_[static_cast<std::size_t>(row)] : "");
        } else if (event.action == MouseAction::Release && event.button == MouseButton::Right) {
            ShowMenu(event.x, event.y);
        }
    });
    list_->SetOnFocus([this](bool gained) {
        if (gained) {
            SelectFirstRowIfNone();
        } else {
            host_.RestoreDefaultButton();
        }
    });
    field_->SetOnFocus([this](bool gained) { FieldFocusChanged(gained); });
    field_->SetOnKeyDown([this](const KeyEvent& key) {
        if (key.key == keys::kEnter) {
            Commit();
        }
    });
    browse_->SetOnFocus([this](bool gained) {
        // A press that took the focus from the field but ended off the button, or a Tab onto it
        // and away: with the field gone, the button goes too.
        if (!gained && !entryActive_ && !field_->Visible()) {
            SetShown(*browse_, false);
        }
    });
    browse_->SetOnClick([this] {
        // A click has already taken the focus from the field on the system; from code it has not.
        browse_->SetFocus();
        BrowseForPath();
    });
}

FileListEditor::~FileListEditor() = default;

std::vector<IControl*> FileListEditor::Controls() const {
    return {list_, add_, update_, remove_, clear_, field_, browse_};
}

void FileListEditor::Fill(const OptionState& options) {
    for (const std::string& entry : ShownEntries(options)) {
        if (!AddListEntry(entry)) {
            break;
        }
    }
    list_->SetSelectedIndex(0);
}

void FileListEditor::UpdateControls() {
    const bool on = host_.SelectedFilesBox().Value();
    list_->SetEnabled(on);
    for (IPushButton* b : {add_, update_, remove_, clear_}) {
        b->SetEnabled(false);
    }
    if (!on) {
        list_->SetSelectedIndex(-1);
        return;
    }
    add_->SetEnabled(true);
    EnableRowButtons(list_->Count() > 0);
}

void FileListEditor::EnableRowButtons(bool enabled) {
    for (IPushButton* b : {update_, remove_, clear_}) {
        b->SetEnabled(enabled);
    }
}

std::vector<std::string> FileListEditor::Entries() const {
    return fullPaths_;
}

std::string FileListEditor::DisplayText(const std::string& path) const {
    return ListRowText(window_, *list_, path);
}

bool FileListEditor::AddListEntry(const std::string& path) {
    if (list_->Count() >= kMaxRows) {
        return false;
    }
    list_->AddItem(DisplayText(path));
    fullPaths_.resize(static_cast<std::size_t>(list_->Count()));
    fullPaths_.back() = path;
    // Loading the list before the box is set must not leave usable buttons beside a disabled
    // list.
    if (host_.SelectedFilesBox().Value()) {
        EnableRowButtons(true);
    }
    return true;
}

void FileListEditor::Remove() {
    const int row = list_->SelectedIndex();
    if (row < 0) {
        return;
    }
    fullPaths_.erase(fullPaths_.begin() + row);
    list_->RemoveItem(row);
    host_.ListEdited();
    if (list_->Count() > 0) {
        list_->SetSelectedIndex(std::max(row - 1, 0));
        list_->SetFocus();
    } else {
        EnableRowButtons(false);
        host_.SelectedFilesBox().SetFocus();
    }
    UpdateControls();
}

void FileListEditor::Clear() {
    list_->Clear();
    fullPaths_.clear();
    host_.ListEdited();
    clear_->SetEnabled(false);
    UpdateControls();
    host_.SelectedFilesBox().SetFocus();
}

void FileListEditor::ShowMenu(int x, int y) {
    const int row = ListItemAt(*list_, x, y);
    const bool rows = list_->Count() > 0;
    const std::vector<MenuItem> items = {
        {"Add", true}, {"Update", rows}, {"Remove", rows}, {"Clear", rows}};
    if (row > -1) {
        list_->SetSelectedIndex(row);
    }
    const TwipsRect at = list_->Bounds();
    const auto chosen = window_.ShowPopupMenu(items, at.left + x, at.top + y);
    if (!chosen) {
        return;
    }
    switch (*chosen) {
        case 0:
            StartAdding();
            break;
        case 1:
            StartChanging();
            break;
        case 2:
            Remove();
            break;
        default:
            Clear();
            break;
    }
}

void FileListEditor::SelectFirstRowIfNone() {
    if (list_->Count() > 0) {
        list_->SetSelectedIndex(std::max(list_->SelectedIndex(), 0));
    }
}

void FileListEditor::StartAdding() {
    entryMode_ = EntryMode::Add;
    editIndex_ = static_cast<std::int16_t>(list_->SelectedIndex());
    int top = list_->Bounds().top;
    if (list_->Count() > 0) {
        list_->SetSelectedIndex(list_->Count() - 1);
        top += ListItemBottom(*list_) + kBrowseInset;
    }
    field_->SetText("");
    ShowField(top);
    UpdateControls();
    field_->SetFocus();
}

void FileListEditor::StartChanging() {
    if (list_->Count() == 0) {
        return;
    }
    SelectFirstRowIfNone();
    entryMode_ = EntryMode::Change;
    editIndex_ = static_cast<std::int16_t>(list_->SelectedIndex());
    field_->SetText(fullPaths_[static_cast<std::size_t>(editIndex_)]);
    ShowField(list_->Bounds().top + ListItemBottom(*list_) - kRowHeight);
    field_->SetFocus();
}

void FileListEditor::ShowField(int top) {
    TwipsRect f = field_->Bounds();
    f.top = top;
    field_->SetBounds(f);
    TwipsRect b = browse_->Bounds();
    b.top = top + kBrowseInset;
    browse_->SetBounds(b);
    LayoutEntryField();
    RestoreEntryField();
}

void FileListEditor::LayoutEntryField() {
    TwipsRect f = field_->Bounds();
    f.width = list_->Bounds().width - browse_->Bounds().width - kFieldMargin;
    if (list_->Count() >= kScrollRows) {
        f.width -= kScrollBarWidth;
    }
    field_->SetBounds(f);
    TwipsRect b = browse_->Bounds();
    b.left = f.left + f.width;
    browse_->SetBounds(b);
}

void FileListEditor::Commit() {
    const std::string text = field_->Text();
    const int rows = list_->Count();
    if (text.empty()) {
        add_->SetEnabled(true);
        LeaveEntry(rows > 0 ? static_cast<IControl&>(*list_) : *add_);
        list_->SetSelectedIndex(rows - 1);
        return;
    }
    if (entryMode_ == EntryMode::Add) {
        if (!AddListEntry(text)) {
            return;
        }
        field_->SetText("");
        list_->SetSelectedIndex(list_->Count() - 1);
        // The field stays open one row lower for the next entry.
        ShowField(list_->Bounds().top + ListItemBottom(*list_));
        host_.ListEdited();
        return;
    }
    const auto index = static_cast<std::size_t>(editIndex_);
    if (editIndex_ >= 0 && index < fullPaths_.size() && text != list_->ItemText(editIndex_)) {
        fullPaths_[index] = text;
        list_->Clear();
        for (const std::string& path : fullPaths_) {
            list_->AddItem(DisplayText(path));
        }
        host_.ListEdited();
    }
    field_->SetText("");
    LeaveEntry(*list_);
    list_->SetSelectedIndex(editIndex_);
}

bool FileListEditor::CancelEntry() {
    if (!entryActive_) {
        return false;
    }
    if (list_->Count() == 0) {
        LeaveEntry(*add_);
        list_->SetSelectedIndex(-1);
    } else {
        LeaveEntry(*list_);
        list_->SetSelectedIndex(editIndex_);
    }
    return true;
}

void FileListEditor::FieldFocusChanged(bool gained) {
    if (gained) {
        entryActive_ = true;
        host_.ClearDefaultButton();
        SelectFirstRowIfNone();
        return;
    }
    entryActive_ = false;
    SetShown(*field_, false);
    // A press on the browse button takes the focus before its click arrives: the button must
    // stay usable until then, and browsing brings the field back.
    if (!browse_->HasFocus()) {
        SetShown(*browse_, false);
    }
    host_.RestoreDefaultButton();
}

void FileListEditor::LeaveEntry(IControl& next) {
    next.SetFocus();
    HideEntry();
    host_.RestoreDefaultButton();
}

void FileListEditor::HideEntry() {
    entryActive_ = false;
    SetShown(*field_, false);
    SetShown(*browse_, false);
}

bool FileListEditor::BrowseKey() {
    if (!entryActive_) {
        return false;
    }
    BrowseForPath();
    return true;
}

void FileListEditor::BrowseForPath() {
    FileSelectionDialog dialog(platform_, isWindowsNt_, *this);
    const std::string text = field_->Text();
    std::string name;
    std::string folder;
    if (!text.empty()) {
        const std::size_t slash = text.rfind('\\');
        name = slash == std::string::npos ? text : text.substr(slash + 1);
        folder = slash == std::string::npos ? "" : text.substr(0, slash);
        // A bare drive names its root, not the drive's current folder.
        if (folder.size() == 2 && folder[1] == ':') {
            folder += '\\';
        }
        if (!folder.empty() && !platform_.files.FolderExists(folder)) {
            folder.clear();
        }
    }
    dialog.ChangePath(folder.empty() ? browseFolder_ : folder);
    if (!name.empty()) {
        dialog.SetFileName(name);
    }
    dialog.ShowModal();
    // The focus may never have left the field while the dialog showed.
    if (field_->HasFocus()) {
        FieldFocusChanged(true);
    } else {
        field_->SetFocus();
    }
}

void FileListEditor::SetEntryText(const std::string& text) {
    field_->SetText(text);
}

void FileListEditor::SetBrowseFolder(const std::string& folder) {
    browseFolder_ = folder;
}

void FileListEditor::RestoreEntryField() {
    SetShown(*field_, true);
    SetShown(*browse_, true);
}

TwipsRect FileListEditor::Bounds() const {
    return window_.Bounds();
}

}  // namespace kestrum
