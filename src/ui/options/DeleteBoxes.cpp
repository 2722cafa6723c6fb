#include "ui/options/DeleteBoxes.h"

#include "settings/OptionFlags.h"

namespace kestrum {

namespace {

// The delete boxes from top to bottom, by flag position.
constexpr int kDeleteOrder[] = {1, 2, 3, 4, 5, 8, 6, 9, 7};

// Captions with their access keys; the prefetch box's is the window's own.
const char* const kDeleteCaptions[] = {
    "",
    "Delete &browser history?",
    "Delete coo&kies?",
    "Delete \"r&ecent\" lists?",
    "Delete &temporary files?",
    "Delete cac&he files?",
    "Clear Recycle B&in?",
    "Delete select &files?:",
    "Clear DNS cache?  (Windows 2000 and &XP only)",
    nullptr,
};

}  // namespace

DeleteBoxes::DeleteBoxes(IWindow& window, const DeleteBoxesLayout& layout,
                         const char* prefetchCaption,
                         const std::function<void(ICheckBox&)>& placed) {
    const auto add = [&](const std::string& name, int top, int left, const std::string& caption) {
        ICheckBox& box =
            window.AddCheckBox(name, {left, top, layout.right - left, layout.height}, caption);
        placed(box);
        return &box;
    };
    all_ = add("AllOptions", layout.top, layout.left, "All &Options");
    int top = layout.top;
    for (const int i : kDeleteOrder) {
        top += layout.row;
        const char* caption =
            i == static_cast<int>(del::kPrefetch) ? prefetchCaption : kDeleteCaptions[i];
        boxes_[static_cast<std::size_t>(i)] =
            add("dOptions(" + std::to_string(i) + ")", top, layout.indentedLeft, caption);
    }
    for (int i = 1; i <= static_cast<int>(del::kCount); ++i) {
        Box(i).SetOnClick([this, i] { BoxClicked(i); });
    }
    all_->SetOnClick([this] { AllClicked(); });
}

void DeleteBoxes::Load(const StartupState& startup, const std::string& deleteOptions) {
    const bool dnsAvailable = startup.IsWindowsNT && startup.WindowsBuild >= 2000;
    const bool prefetchAvailable = startup.IsWindowsNT && startup.WindowsBuild >= 2200;
    ICheckBox& dns = Box(static_cast<int>(del::kDnsCache));
    ICheckBox& prefetch = Box(static_cast<int>(del::kPrefetch));
    dns.SetEnabled(dnsAvailable);
    prefetch.SetEnabled(prefetchAvailable);
    for (std::size_t i = 1; i <= del::kCount; ++i) {
        bool ticked = false;
        ApplyFlag(deleteOptions, i, ticked);
        Box(static_cast<int>(i)).SetValue(ticked);
    }
    if (!dnsAvailable) {
        dns.SetValue(false);
    }
    if (!prefetchAvailable) {
        prefetch.SetValue(false);
    }
}

std::string DeleteBoxes::Collect() const {
    return BuildFlagString({Box(1).Value(), Box(2).Value(), Box(3).Value(), Box(4).Value(),
                            Box(5).Value(), Box(6).Value(), Box(7).Value(), Box(8).Value(),
                            Box(9).Value()});
}

bool DeleteBoxes::AnyTicked() const {
    for (int i = 1; i <= static_cast<int>(del::kCount); ++i) {
        if (Box(i).Value()) {
            return true;
        }
    }
    return false;
}

void DeleteBoxes::BoxClicked(int index) {
    syncingBoxes_ = true;
    if (onBoxClick_) {
        onBoxClick_(index);
    }
    bool all = true;
    for (int i = 1; i <= static_cast<int>(del::kCount); ++i) {
        // A box the system cannot clean does not keep "All Options" from showing ticked.
        all = all && (Box(i).Value() || !Box(i).Enabled());
    }
    all_->SetValue(all);
    syncingBoxes_ = false;
}

void DeleteBoxes::AllClicked() {
    if (syncingBoxes_) {
        return;
    }
    // Each box's own handling sets "All Options" again as it goes; the value read here is the
    // one every box gets.
    const bool value = all_->Value();
    for (int i = 1; i <= static_cast<int>(del::kCount); ++i) {
        if (Box(i).Enabled()) {
            Box(i).SetValue(value);
        }
    }
}

}  // namespace kestrum
