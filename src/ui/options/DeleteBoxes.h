#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/Ui.h"
#include "settings/StartupState.h"

namespace kestrum {

// Where the boxes go, in twips: "All Options" at the top, the nine delete boxes indented under
// it, one row apart.
struct DeleteBoxesLayout {
    int top = 0;
    int left = 0;
    int indentedLeft = 0;
    int right = 0;
    int row = 0;
    int height = 0;
};

// "All Options" and the nine delete boxes, as the options window and the confirmation window
// both show them. The boxes the system cannot clean are disabled and stay unticked; ticking
// "All Options" ticks every enabled box, and it shows ticked exactly while every enabled box is.
class DeleteBoxes {
  public:
    // Adds the boxes to the window in tab order, top to bottom: "All Options", then the delete
    // boxes in the order 1, 2, 3, 4, 5, 8, 6, 9, 7. `placed` sees each box as it is made.
    DeleteBoxes(IWindow& window, const DeleteBoxesLayout& layout, const char* prefetchCaption,
                const std::function<void(ICheckBox&)>& placed);
    DeleteBoxes(const DeleteBoxes&) = delete;
    DeleteBoxes& operator=(const DeleteBoxes&) = delete;

    // Runs after the cascade's own handling of a click on a delete box (1 to 9).
    void SetOnBoxClick(std::function<void(int)> handler) { onBoxClick_ = std::move(handler); }

    // Disables what the system cannot clean, ticks the boxes from a delete flag string and
    // unticks the disabled ones; each change runs the box's click handling.
    void Load(const StartupState& startup, const std::string& deleteOptions);
    // The nine boxes as a delete flag string.
    std::string Collect() const;
    bool AnyTicked() const;

    ICheckBox& All() { return *all_; }
    ICheckBox& Box(int index) { return *boxes_.at(static_cast<std::size_t>(index)); }
    const ICheckBox& Box(int index) const { return *boxes_.at(static_cast<std::size_t>(index)); }

  private:
    void BoxClicked(int index);
    void AllClicked();

    ICheckBox* all_ = nullptr;
    // Indexed as the flag-string positions; entry 0 is unused.
    std::array<ICheckBox*, 10> boxes_{};
    std::function<void(int)> onBoxClick_;
    // Set while a box's handling updates "All Options", so that its own handling does not
    // cascade back.
    bool syncingBoxes_ = false;
};

// The caption of the prefetch box in the options window; the confirmation window words it as a
// question.
inline constexpr char kPrefetchCaption[] = "Delete prefetch files (&Windows XP only)";
inline constexpr char kPrefetchQuestion[] = "Delete prefetch files?  (&Windows XP only)";

}  // namespace kestrum
