#pragma once

#include <functional>

#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

// An owner-drawn BUTTON, subclassed so that its input goes to the program's handlers: the
// system button's own space-bar click is withheld, and it asks the dialog manager for Enter.
class Win32PaintBox final : public Win32Control, public IPaintBox {
  public:
    Win32PaintBox(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
                  const std::string& caption);

    void SetOnPaint(std::function<void(ICanvas&)> handler) override {
        onPaint_ = std::move(handler);
    }
    void Repaint() override;
    void SetOnMouse(std::function<void(const MouseEvent&)> handler) override {
        onMouse_ = std::move(handler);
    }
    void SetOnKeyDown(std::function<void(const KeyEvent&)> handler) override {
        onKeyDown_ = std::move(handler);
    }
    void SetOnFocus(std::function<void(bool)> handler) override { onFocus_ = std::move(handler); }
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }

    bool OnCommand(WORD code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

  private:
    // True when the message is fully handled here.
    bool OnSubclassMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

    std::function<void(ICanvas&)> onPaint_;
    std::function<void(const MouseEvent&)> onMouse_;
    std::function<void(const KeyEvent&)> onKeyDown_;
    std::function<void(bool)> onFocus_;
    std::function<void()> onClick_;
};

}  // namespace kestrum::win32
