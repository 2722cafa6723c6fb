#include "ui/options/SplashScreen.h"

#include <cmath>

#include "ui/options/AboutBox.h"

namespace kestrum {

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 3300;
constexpr int kCornerPixels = 40;
constexpr std::uint64_t kHoldMilliseconds = 1000;
constexpr char kNotice[] = "For a cleaner, more private Windows.";

}  // namespace

SplashScreen::SplashScreen(const Platform& platform) : platform_(platform) {
    const std::string title = platform_.application.Title();
    window_ = platform_.ui.CreateTopWindow("Logo", title, kWidth, kHeight, WindowFrame::None);
    IWindow& w = *window_;
    w.AddPicture("Image1", {480, 600, 720, 720}, Picture::Program);
    ILabel& name = w.AddLabel("Label(0)", {1560, 480, 4200, 840}, title);
    name.SetFont({"Times New Roman", 32, true});
    ILabel& version = w.AddLabel("Label(2)", {1560, 1380, 4200, 300},
                                 VersionText(platform_.application.Version()));
    version.SetFont({"MS Sans Serif", 10, true});
    w.AddLabel("Label(3)", {1560, 1800, 4200, 300}, kNotice);
    ILabel& message = w.AddLabel("Message", {480, 2640, 5040, 300}, kSplashMessage);
    message.SetFont({"MS Sans Serif", 8, true});
    RoundWindowCorners();
    w.SetOnActivate([this] { HoldOnActivation(); });
    w.StartTimer(1, kSplashMilliseconds, [this] { window_->Unload(true); });
}

void SplashScreen::RoundWindowCorners() {
    const ScreenMetrics screen = platform_.ui.Screen();
    // Whole pixels, halves to even as the division rounds.
    const int w =
        static_cast<int>(std::nearbyint(static_cast<double>(kWidth) / screen.twipsPerPixelX));
    const int h =
        static_cast<int>(std::nearbyint(static_cast<double>(kHeight) / screen.twipsPerPixelY));
    window_->SetRoundedRegion(1, 1, w, h, kCornerPixels, kCornerPixels);
}

void SplashScreen::HoldOnActivation() {
    window_->Refresh();
    IClock& clock = platform_.clock;
    const std::uint64_t until = clock.NowMilliseconds() + kHoldMilliseconds;
    // Waits without handling anything, so the picture stays as it is.
    for (std::uint64_t now = clock.NowMilliseconds(); now < until; now = clock.NowMilliseconds()) {
        platform_.ui.WaitForEvents(static_cast<std::uint32_t>(until - now));
    }
}

}  // namespace kestrum
