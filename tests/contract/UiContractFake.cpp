// The toolkit contract on the in-memory fake.
#include "contract/UiContract.h"
#include "fakes/FakeClock.h"
#include "fakes/ui/FakeUiToolkit.h"

namespace kestrum::contract {
namespace {

class FakeUiDriver final : public UiDriver {
  public:
    IUiToolkit& ui() override { return ui_; }
    void Click(IWindow& window, const std::string& control) override {
        ui_.Input(fakes::ClickOn{window.Name(), control});
    }
    void PressKey(IWindow& window, int key) override {
        ui_.Input(fakes::PressKey{window.Name(), KeyEvent{key}});
    }
    void PressAccessKey(IWindow& window, char letter) override {
        KeyEvent key{letter};
        key.alt = true;
        ui_.Input(fakes::PressKey{window.Name(), key});
    }
    void Close(IWindow& window) override { ui_.Input(fakes::CloseWindow{window.Name()}); }
    void PressMouse(IWindow& window, int xTwips, int yTwips) override {
        ui_.Input(
            fakes::MouseAt{window.Name(), {MouseAction::Press, MouseButton::Left, xTwips, yTwips}});
    }
    bool WaitUntil(const std::function<bool()>& condition, std::uint32_t milliseconds) override {
        const std::uint64_t deadline = clock_.NowMilliseconds() + milliseconds;
        for (;;) {
            ui_.ProcessPendingEvents();
            if (condition()) {
                return true;
            }
            const std::uint64_t now = clock_.NowMilliseconds();
            if (now >= deadline) {
                return false;
            }
            ui_.WaitForEvents(static_cast<std::uint32_t>(deadline - now));
        }
    }
    // The fake's screen is at 120 dpi, so that nothing passes by assuming 96.
    int ScreenDpi() override { return 120; }
    std::pair<int, int> ClientPixels(IWindow& window) override {
        const auto& fake = dynamic_cast<fakes::FakeWindow&>(window);
        return {ui_.screen.PixelsX(fake.widthTwips), ui_.screen.PixelsY(fake.heightTwips)};
    }
    std::pair<int, int> ControlPixels(IWindow& window, const std::string& control) override {
        const TwipsRect where = window.Find(control)->Bounds();
        return {ui_.screen.PixelsX(where.width), ui_.screen.PixelsY(where.height)};
    }

    FakeUiDriver() { ui_.screen = ScreenMetrics{12, 12, {0, 0, 1280 * 12, 994 * 12}}; }

  private:
    fakes::FakeClock clock_;
    fakes::FakeUiToolkit ui_{clock_};
};

}  // namespace

std::unique_ptr<UiDriver> MakeUiDriver() {
    return std::make_unique<FakeUiDriver>();
}

}  // namespace kestrum::contract
