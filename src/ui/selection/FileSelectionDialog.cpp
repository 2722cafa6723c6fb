#include "ui/selection/FileSelectionDialog.h"

#include "ui/selection/FileSelection.h"

namespace kestrum {

namespace {

constexpr int kWidth = 6690;
constexpr int kHeight = 4410;

}  // namespace

FileSelectionDialog::FileSelectionDialog(const Platform& platform, bool isWindowsNt,
                                         IFileSelectionHost& host)
    : platform_(platform), host_(host) {
    window_ = platform_.ui.CreateTopWindow("FindFiles", kFileSelectionTitle, kWidth, kHeight);
    IWindow& w = *window_;
    // Created in tab order: tree, files, name, shortcuts, Select, Cancel.
    PropertyBag treeSettings;
    treeSettings.Write("HideSelection", false, true);
    tree_ = std::make_unique<ExplorerTreeView>(w, "FolderTree", TwipsRect{1515, 120, 5055, 2220},
                                               platform_, isWindowsNt, treeSettings);
    list_ = &w.AddListBox("FileList", {1500, 2385, 5085, 1455}, false);
    // The name box leaves its label 1,080 twips: in the program's font a narrower label wraps
    // at 144 dpi.
    fileName_ = &w.AddTextBox("FileName", {2610, 3990, 3960, 285});
    fileName_->SetText("*.*");
    w.AddPicture("LocPicture(1)", {495, 240, 510, 510}, Picture::Desktop);
    IPushButton& desktop = w.AddPushButton("Location(1)", {120, 840, 1260, 330}, "Desktop");
    w.AddPicture("LocPicture(2)", {495, 1305, 510, 510}, Picture::Documents);
    IPushButton& documents = w.AddPushButton("Location(2)", {120, 1905, 1260, 330}, "My Documents");
    IPushButton& select = w.AddPushButton("selectButton", {120, 3450, 1260, 375}, "Select");
    IPushButton& cancel = w.AddPushButton("cancelButton", {120, 3900, 1260, 375}, "Cancel");
    count_ = &w.AddLabel("FileCount", {120, 2430, 1260, 255}, "0 files");
    w.AddLabel("Label1", {1500, 4020, 1080, 255}, "File Name:");
    w.SetDefaultButton(&select);
    w.SetCancelButton(&cancel);

    select.SetOnClick([this] { Select(); });
    cancel.SetOnClick([this] { window_->Unload(); });
    const auto shortcut = [this](const std::string& folder) {
        tree_->SetPath(folder);
        tree_->tree().SetFocus();
    };
    desktop.SetOnClick([this, shortcut] { shortcut(tree_->Folders().desktop); });
    documents.SetOnClick([this, shortcut] { shortcut(tree_->Folders().documents); });
    tree_->SetOnNodeClick([this](TreeNode) { FillList(); });
    tree_->SetOnDoubleClick([this] {
        fileName_->SetText("");
        Select();
    });
    list_->SetOnClick([this] {
        const std::string name = list_->ItemText(list_->SelectedIndex());
        // Setting the text it has already raises no change, so nothing is to be ignored then.
        ignoreNameChange_ = name != fileName_->Text();
        fileName_->SetText(name);
    });
    list_->SetOnDoubleClick([this] { Select(); });
    // Another of the program's windows coming forward ends the browse, as Cancel does.
    w.SetOnDeactivate([this] { window_->Unload(); });
    fileName_->SetOnChange([this] { NameChanged(); });
    fileName_->SetOnFocus([this](bool gained) {
        if (gained) {
            fileName_->SelectAll();
        }
    });
    // However it closes, the next browse starts where this one ended, and the entry field the
    // caller hid for it is back.
    w.SetOnUnload([this] {
        host_.SetBrowseFolder(folder_);
        host_.RestoreEntryField();
    });

    const TwipsRect bounds = w.Bounds();
    const TwipsPoint at =
        PlaceOverOwner(host_.Bounds(), bounds.width, bounds.height, platform_.ui.Screen().workArea);
    w.MoveTo(at.left, at.top);
}

void FileSelectionDialog::ChangePath(const std::string& path) {
    tree_->SetPath(path);
    FillList();
}

void FileSelectionDialog::FillList() {
    folder_ = tree_->Path();
    list_->Clear();
    for (const std::string& name :
         MatchingFiles(platform_.files, platform_.locale, folder_, pattern_)) {
        list_->AddItem(name);
    }
    count_->SetText(FileCountText(static_cast<std::uint64_t>(list_->Count()), platform_.locale));
}

void FileSelectionDialog::NameChanged() {
    if (ignoreNameChange_) {
        ignoreNameChange_ = false;
        return;
    }
    pattern_ = ListPatternFor(fileName_->Text());
    FillList();
}

void FileSelectionDialog::Select() {
    host_.SetEntryText(SelectionResult(tree_->Path(), fileName_->Text()));
    window_->Unload();
}

}  // namespace kestrum
