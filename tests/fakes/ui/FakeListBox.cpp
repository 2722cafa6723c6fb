#include "fakes/ui/FakeListBox.h"

#include <algorithm>
#include <cctype>

#include "common/Text.h"

namespace kestrum::fakes {

namespace {

constexpr int kBorder = 2 * 15;
constexpr int kScrollBar = 16 * 15;

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return ToLowerAscii(a) < ToLowerAscii(b);
}

}  // namespace

IListBox& FakeWindow::AddListBox(const std::string& name, const TwipsRect& where, bool sorted) {
    return Adopt(std::make_unique<FakeListBox>(*this, name, where, sorted));
}

void FakeListBox::AddItem(const std::string& text) {
    auto at = rows_.end();
    if (sorted_) {
        at = std::upper_bound(rows_.begin(), rows_.end(), text, LessIgnoringCase);
    }
    const auto row = static_cast<int>(at - rows_.begin());
    rows_.insert(at, text);
    if (selected_ >= row) {
        ++selected_;
    }
}

void FakeListBox::RemoveItem(int row) {
    if (row < 0 || row >= Count()) {
        return;
    }
    rows_.erase(rows_.begin() + row);
    if (selected_ == row) {
        selected_ = -1;
    } else if (selected_ > row) {
        --selected_;
    }
    top_ = std::max(0, std::min(top_, Count() - VisibleRows()));
}

void FakeListBox::Clear() {
    rows_.clear();
    selected_ = -1;
    top_ = 0;
}

std::string FakeListBox::ItemText(int row) const {
    return row >= 0 && row < Count() ? rows_[static_cast<std::size_t>(row)] : std::string();
}

void FakeListBox::SetSelectedIndex(int row) {
    if (row < 0 || row >= Count()) {
        selected_ = -1;
        return;
    }
    selected_ = row;
    if (row < top_) {
        top_ = row;
    } else if (row >= top_ + VisibleRows()) {
        top_ = row - VisibleRows() + 1;
    }
}

int FakeListBox::VisibleRows() const {
    return std::max(1, (Bounds().height - 2 * kBorder) / kRowHeight);
}

TwipsRect FakeListBox::ItemRect(int row) const {
    if (row < 0 || row >= Count()) {
        return {};
    }
    int width = Bounds().width - 2 * kBorder;
    if (Count() > VisibleRows()) {
        width -= kScrollBar;
    }
    return {0, (row - top_) * kRowHeight, width, kRowHeight};
}

int FakeListBox::RowAt(int x, int y) const {
    if (x < 0 || y < 0) {
        return -1;
    }
    const int row = top_ + y / kRowHeight;
    return row < Count() && x < ItemRect(row).width ? row : -1;
}

void FakeListBox::UserMouse(const MouseEvent& event) {
    if (!AcceptsInput()) {
        return;
    }
    Guarded(onMouse_, event);
    if (event.action == MouseAction::Press && event.button == MouseButton::Left) {
        SetFocus();
        if (const int row = RowAt(event.x, event.y); row >= 0) {
            SetSelectedIndex(row);
            Guarded(onClick_);
        }
    }
}

void FakeListBox::UserDoubleClick(int x, int y) {
    if (!AcceptsInput()) {
        return;
    }
    UserMouse({MouseAction::Press, MouseButton::Left, x, y});
    UserMouse({MouseAction::Release, MouseButton::Left, x, y});
    if (RowAt(x, y) >= 0) {
        Guarded(onDoubleClick_);
    }
}

bool FakeListBox::UserKey(const KeyEvent& key) {
    if (DialogKey(key)) {
        return false;
    }
    if (key.key != keys::kUp && key.key != keys::kDown) {
        return true;  // a character's key: the character picks the row
    }
    if (AcceptsInput() && Count() > 0) {
        const int step = key.key == keys::kDown ? 1 : -1;
        Pick(selected_ < 0 ? 0 : std::clamp(selected_ + step, 0, Count() - 1));
    }
    return true;
}

void FakeListBox::UserChar(char c) {
    if (!AcceptsInput()) {
        return;
    }
    // The next row after the selected one that starts with the character, round to the top.
    const auto lower = [](char x) { return std::tolower(static_cast<unsigned char>(x)); };
    for (int step = 1; step <= Count(); ++step) {
        const int row = (std::max(selected_, -1) + step) % Count();
        const std::string& text = rows_[static_cast<std::size_t>(row)];
        if (!text.empty() && lower(text[0]) == lower(c)) {
            Pick(row);
            return;
        }
    }
}

void FakeListBox::Pick(int row) {
    if (row != selected_) {
        SetSelectedIndex(row);
        Guarded(onClick_);
    }
}

}  // namespace kestrum::fakes
