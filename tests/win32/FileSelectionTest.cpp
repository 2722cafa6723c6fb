// The File Selection dialog on the real tree, list and edit controls of a sandbox prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/WideString.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/ui/Win32Control.h"
#include "ui/selection/FileSelectionDialog.h"

namespace kestrum::win32 {
namespace {

struct Host final : IFileSelectionHost {
    void SetEntryText(const std::string& text) override { entry = text; }
    void SetBrowseFolder(const std::string&) override {}
    void RestoreEntryField() override {}
    TwipsRect Bounds() const override { return {1500, 1500, 7000, 6000}; }
    std::string entry = "unchanged";
};

HWND HwndOf(FileSelectionDialog& dialog, const std::string& control) {
    return dynamic_cast<Win32Control&>(*dialog.window().Find(control)).hwnd();
}

std::vector<std::string> ListRows(HWND list) {
    std::vector<std::string> rows;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
        rows.push_back(WideToUtf8(text));
    }
    return rows;
}

// The texts of an item and its following siblings in the real tree.
std::vector<std::string> Siblings(HWND tree, HTREEITEM item) {
    std::vector<std::string> texts;
    for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[MAX_PATH] = {};
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = MAX_PATH;
        TreeView_GetItem(tree, &data);
        texts.push_back(WideToUtf8(text));
    }
    return texts;
}

// Typing, Esc and the filter's rules are the fakes' and the toolkit contract's to show; here the
// real folders and files reach the real tree and list, and Select hands the choice back.
TEST(FileSelectionDialog, OpensOnAFileFiltersAndHandsTheChoiceBack) {
    Win32Platform system;
    const Platform platform = system.services();
    Host host;
    FileSelectionDialog dialog(platform, true, host);
    dialog.ChangePath("c:\\windows");
    dialog.SetFileName("win.ini");
    dialog.window().Show();
    platform.ui.ProcessPendingEvents();

    HWND tree = HwndOf(dialog, "FolderTree");
    const auto roots = Siblings(tree, TreeView_GetRoot(tree));
    ASSERT_GE(roots.size(), 3u);
    EXPECT_EQ(roots[0], "Desktop");
    EXPECT_EQ(roots[1], "My Documents");
    EXPECT_EQ(roots[2].rfind("c:  (", 0), 0u) << roots[2];
    const HTREEITEM selected = TreeView_GetSelection(tree);
    EXPECT_EQ(Siblings(tree, selected).front(), "windows");
    const auto children = Siblings(tree, TreeView_GetChild(tree, selected));
    EXPECT_NE(std::find(children.begin(), children.end(), "system32"), children.end());
    EXPECT_EQ(ListRows(HwndOf(dialog, "FileList")), std::vector<std::string>{"win.ini"});
    EXPECT_EQ(dialog.window().Find("FileCount")->Text(), "1 file");

    // The name is read from the real box.
    SetWindowTextW(HwndOf(dialog, "FileName"), L"system.ini");
    SendMessageW(HwndOf(dialog, "selectButton"), BM_CLICK, 0, 0);
    platform.ui.ProcessPendingEvents();
    EXPECT_EQ(host.entry, "c:\\windows\\system.ini");
    EXPECT_FALSE(dialog.window().Loaded());
}

}  // namespace
}  // namespace kestrum::win32
