#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

// A system tab control whose items carry the captions. The controls placed on its pages are its
// siblings, above it in the z-order so that they paint and take clicks over it; the page shown
// decides, with each control's own visibility, which of them are on the screen.
class Win32Tabs final : public Win32Control, public ITabs {
  public:
    Win32Tabs(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
              const std::vector<std::string>& captions);
    int Selected() const override { return selected_; }
    void Select(int tab) override;
    void Place(IControl& control, int tab) override;
    void SetOnSelect(std::function<void(int)> handler) override { onSelect_ = std::move(handler); }

    bool OnNotify(const NMHDR& header, LRESULT* result) override;
    // Ctrl+Tab (+1) and Ctrl+Shift+Tab (-1): the neighbouring tab, round the ends; false when
    // the tabs take no input now.
    bool Step(int by);
    // The brush for a control on a page: the tab's body as the current theme paints it, lined
    // up with the control, or the window's face where there is no theme.
    HBRUSH PageBackground(HDC dc, HWND control);

  private:
    // Brings the pages up to the tab now selected and tells the handler.
    void Switched(int previous);
    void ShowPages();
    bool PlacedHasFocus(int tab) const;

    int count_;
    int selected_ = 0;
    std::vector<std::pair<Win32Control*, int>> placed_;
    std::function<void(int)> onSelect_;
    // The tabs painted once at their present size, as a pattern brush.
    BrushHandle body_;
    SIZE bodySize_{};
};

}  // namespace kestrum::win32
