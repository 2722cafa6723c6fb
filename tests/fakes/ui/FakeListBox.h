#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fakes/ui/FakeUiToolkit.h"

namespace kestrum::fakes {

// A single-selection list drawn as the system draws one at 96 dots per inch: rows of 13 pixels
// inside a 2-pixel border, a 16-pixel scroll bar once the rows outgrow the height, and the
// selected row scrolled into view. Up and Down move the selection, a typed character picks the
// next row that starts with it, and a press of the left button picks the row under it.
class FakeListBox final : public FakeControl, public IListBox {
  public:
    static constexpr int kRowHeight = 195;

    FakeListBox(FakeWindow& window, const std::string& name, const TwipsRect& where, bool sorted)
        : FakeControl(window, name, "", where), sorted_(sorted) {}

    void AddItem(const std::string& text) override;
    void RemoveItem(int row) override;
    void Clear() override;
    int Count() const override { return static_cast<int>(rows_.size()); }
    std::string ItemText(int row) const override;
    int SelectedIndex() const override { return selected_; }
    void SetSelectedIndex(int row) override;
    TwipsRect ItemRect(int row) const override;
    void SetOnClick(std::function<void()> h) override { onClick_ = std::move(h); }
    void SetOnDoubleClick(std::function<void()> h) override { onDoubleClick_ = std::move(h); }
    void SetOnMouse(std::function<void(const MouseEvent&)> h) override { onMouse_ = std::move(h); }
    void SetOnFocus(std::function<void(bool)> h) override { onFocus_ = std::move(h); }

    void UserMouse(const MouseEvent& event) override;
    void UserDoubleClick(int x, int y) override;
    bool UserKey(const KeyEvent& key) override;
    void UserChar(char c) override;

  private:
    int VisibleRows() const;
    // The user's choice of a row: selected, and clicked when the selection changes.
    void Pick(int row);
    // The row under a point of the inside, or -1.
    int RowAt(int x, int y) const;

    bool sorted_;
    std::vector<std::string> rows_;
    int selected_ = -1;
    int top_ = 0;
    std::function<void()> onDoubleClick_;
};

}  // namespace kestrum::fakes
