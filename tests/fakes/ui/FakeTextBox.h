#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "fakes/ui/FakeUiToolkit.h"

namespace kestrum::fakes {

// The key a character is typed with on a US keyboard: letters and digits as their upper-case
// characters, shift held for capitals and the shifted signs.
KeyEvent KeyForChar(char c);

// A one-line text box with a caret and a selection: what is typed replaces the selection, Back
// deletes it or the character before the caret, and text set from code leaves the caret at the
// start. Enter reaches it only while its window has no default button.
class FakeTextBox final : public FakeControl, public ITextBox {
  public:
    using FakeControl::FakeControl;
    void SetText(const std::string& text) override;
    void SelectAll() override;
    void SetOnChange(std::function<void()> h) override { onChange_ = std::move(h); }
    void SetOnKeyDown(std::function<void(const KeyEvent&)> h) override {
        onKeyDown_ = std::move(h);
    }
    void SetOnFocus(std::function<void(bool)> h) override { onFocus_ = std::move(h); }

    bool UserKey(const KeyEvent& key) override;
    void UserChar(char c) override;

  private:
    // Replaces the selection and leaves the caret after what came in.
    void Replace(const std::string& with);

    std::size_t selStart_ = 0;
    std::size_t selEnd_ = 0;
    std::function<void()> onChange_;
    std::function<void(const KeyEvent&)> onKeyDown_;
};

}  // namespace kestrum::fakes
