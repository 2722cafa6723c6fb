#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

// A single-selection LISTBOX, subclassed for the mouse and the focus. Its rows are kept here as
// well, so that a list whose window has gone still answers them.
class Win32ListBox final : public Win32Control, public IListBox {
  public:
    Win32ListBox(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
                 bool sorted);

    void AddItem(const std::string& text) override;
    void RemoveItem(int row) override;
    void Clear() override;
    int Count() const override { return static_cast<int>(rows_.size()); }
    std::string ItemText(int row) const override;
    int SelectedIndex() const override;
    void SetSelectedIndex(int row) override;
    TwipsRect ItemRect(int row) const override;
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
    void SetOnDoubleClick(std::function<void()> handler) override {
        onDoubleClick_ = std::move(handler);
    }
    void SetOnMouse(std::function<void(const MouseEvent&)> handler) override {
        onMouse_ = std::move(handler);
    }
    void SetOnFocus(std::function<void(bool)> handler) override { onFocus_ = std::move(handler); }

    bool OnCommand(WORD code) override;

  private:
    bool OnSubclassMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT&) override;

    std::vector<std::string> rows_;
    int selected_ = -1;
    std::function<void()> onClick_;
    std::function<void()> onDoubleClick_;
    std::function<void(const MouseEvent&)> onMouse_;
    std::function<void(bool)> onFocus_;
};

}  // namespace kestrum::win32
