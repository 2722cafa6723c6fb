// The toolkit contract on the in-memory fake.
#include "contract/UiContract.h"
#include "fakes/ui/FakeTreeView.h"

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
    void PressChord(IWindow& window, const KeyEvent& key) override {
        ui_.Input(fakes::PressKey{window.Name(), key});
    }
    void Type(IWindow& window, const std::string& text) override {
        ui_.Input(fakes::TypeText{window.Name(), text});
    }
    void MouseOn(IWindow& window, const std::string& control, const MouseEvent& event) override {
        ui_.Input(fakes::MouseAt{window.Name(), event, control});
    }
    void DoubleClick(IWindow& window, const std::string& control, int x, int y) override {
        dynamic_cast<fakes::FakeControl&>(*window.Find(control)).UserDoubleClick(x, y);
    }
    void Close(IWindow& window) override { ui_.Input(fakes::CloseWindow{window.Name()}); }
    void PressMouse(IWindow& window, int x, int y) override {
        ui_.Input(fakes::MouseAt{window.Name(), {MouseAction::Press, MouseButton::Left, x, y}, ""});
    }
    void ChooseOnNextMenu(const std::string& caption) override {
        ui_.menuChoices.push_back(caption);
    }
    std::uint64_t NowMilliseconds() override { return clock_.NowMilliseconds(); }
    void OnNode(IWindow& window, const std::string& tree, const std::string& key,
                NodeAction action) override {
        // The two enumerations list the same actions in the same order.
        const auto as = static_cast<fakes::TreeAction>(action);
        ui_.Input(fakes::OnTreeNode{window.Name(), tree, key, as});
    }
    void TypeInLabel(IWindow& window, const std::string& tree, const std::string& text,
                     bool confirm) override {
        dynamic_cast<fakes::FakeTreeView&>(*window.Find(tree)).UserLabel(text, confirm);
    }
    void ChooseTab(IWindow& window, const std::string& tabs, int tab) override {
        ui_.Input(fakes::ChooseTab{window.Name(), tabs, tab});
    }

  private:
    fakes::FakeClock clock_;
    fakes::FakeUiToolkit ui_{clock_};
};

}  // namespace

std::unique_ptr<UiDriver> MakeUiDriver() {
    return std::make_unique<FakeUiDriver>();
}

}  // namespace kestrum::contract
