#pragma once

#include <functional>
#include <string>

#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

// A one-line EDIT, subclassed so that its keys reach the program: Enter comes to the box while
// the window has no default button, and the focus leaves the selection where it was, since the
// windows decide themselves when the whole text is selected.
class Win32TextBox final : public Win32Control, public ITextBox {
  public:
    Win32TextBox(Win32Window& window, const std::string& name, int id, const TwipsRect& where);

    void SetText(const std::string& text) override;
    std::string Text() const override;
    void SelectAll() override;
    void SetOnChange(std::function<void()> handler) override { onChange_ = std::move(handler); }
    void SetOnKeyDown(std::function<void(const KeyEvent&)> handler) override {
        onKeyDown_ = std::move(handler);
    }
    void SetOnFocus(std::function<void(bool)> handler) override { onFocus_ = std::move(handler); }

    bool OnCommand(WORD code) override;

  private:
    // True when the message is fully handled here.
    bool OnSubclassMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

    // The text as last seen, so that a change is told once and the text outlives the window.
    std::string seen_;
    std::function<void()> onChange_;
    std::function<void(const KeyEvent&)> onKeyDown_;
    std::function<void(bool)> onFocus_;
};

}  // namespace kestrum::win32
