#pragma once

#include <memory>

#include "platform/Platform.h"

namespace kestrum {

inline constexpr char kSplashMessage[] = "PLEASE WAIT...Retrieving options";
inline constexpr std::uint32_t kSplashMilliseconds = 3000;

// The splash screen shown while the options are read: the program's name, version and icon in a
// window with round corners, which closes itself three seconds after it loads.
class SplashScreen {
  public:
    explicit SplashScreen(const Platform& platform);

    // Returns when the splash has closed itself.
    void ShowModal() { window_->ShowModal(); }
    IWindow& window() { return *window_; }

  private:
    // Cuts the corners round with 40-pixel corner ellipses.
    void RoundWindowCorners();
    // Paints at once and holds the picture still for a second, handling no events.
    void HoldOnActivation();

    const Platform& platform_;
    std::unique_ptr<IWindow> window_;
};

}  // namespace kestrum
