#include "fakes/ui/FakeTextBox.h"

#include <cctype>
#include <cstring>

namespace kestrum::fakes {

KeyEvent KeyForChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u) != 0) {
        return {std::toupper(u), std::isupper(u) != 0};
    }
    if (std::isdigit(u) != 0 || c == ' ') {
        return {u};
    }
    // The signs that paths and patterns are written with; each row: plain, shifted, key.
    static const struct {
        char plain, shifted;
        int key;
    } signs[] = {{';', ':', 0xBA},  {'=', '+', 0xBB}, {',', '<', 0xBC}, {'-', '_', 0xBD},
                 {'.', '>', 0xBE},  {'/', '?', 0xBF}, {'`', '~', 0xC0}, {'[', '{', 0xDB},
                 {'\\', '|', 0xDC}, {']', '}', 0xDD}, {'\'', '"', 0xDE}};
    for (const auto& s : signs) {
        if (c == s.plain || c == s.shifted) {
            return {s.key, c == s.shifted};
        }
    }
    // The shifted digit row.
    static const char kDigitRow[] = ")!@#$%^&*(";
    if (const char* at = std::strchr(kDigitRow, c); at != nullptr && c != '\0') {
        return {'0' + static_cast<int>(at - kDigitRow), true};
    }
    return {0};
}

ITextBox& FakeWindow::AddTextBox(const std::string& name, const TwipsRect& where) {
    return Adopt(std::make_unique<FakeTextBox>(*this, name, "", where));
}

void FakeTextBox::SetText(const std::string& text) {
    selStart_ = selEnd_ = 0;
    if (text != Text()) {
        FakeControl::SetText(text);
        Guarded(onChange_);
    }
}

void FakeTextBox::SelectAll() {
    selStart_ = 0;
    selEnd_ = Text().size();
}

void FakeTextBox::Replace(const std::string& with) {
    std::string text = Text();
    text.replace(selStart_, selEnd_ - selStart_, with);
    selStart_ = selEnd_ = selStart_ + with.size();
    // A character typed over the same one changes nothing.
    if (text != Text()) {
        FakeControl::SetText(text);
        Guarded(onChange_);
    }
}

bool FakeTextBox::UserKey(const KeyEvent& key) {
    if (DialogKey(key) && (key.key != keys::kEnter || window_.DefaultButton() != nullptr)) {
        return false;
    }
    if (!AcceptsInput()) {
        return true;
    }
    Guarded(onKeyDown_, key);
    const std::size_t length = Text().size();
    switch (key.key) {
        case keys::kBack:
            if (selEnd_ > 0) {
                selStart_ = selStart_ == selEnd_ ? selStart_ - 1 : selStart_;
                Replace("");
            }
            break;
        // The caret is the selection's end; moving it drops the selection.
        case keys::kLeft:
            selStart_ = selEnd_ = selEnd_ > 0 ? selEnd_ - 1 : 0;
            break;
        case keys::kRight:
            selStart_ = selEnd_ = selEnd_ < length ? selEnd_ + 1 : length;
            break;
        default:
            break;
    }
    return true;
}

void FakeTextBox::UserChar(char c) {
    if (AcceptsInput()) {
        Replace(std::string(1, c));
    }
}

}  // namespace kestrum::fakes
