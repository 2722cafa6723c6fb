#include "ui/controls/Button.h"

#include <gtest/gtest.h>

#include "fakes/ui/FakeUiToolkit.h"

namespace kestrum {
namespace {

using Op = fakes::FakeCanvas::Op;

class ButtonTest : public ::testing::Test {
  protected:
    fakes::FakeClock clock;
    fakes::FakeUiToolkit ui{clock};
    std::unique_ptr<IWindow> window = ui.CreateTopWindow("Form", " Form", 6000, 3000);
    std::vector<std::string> events;

    Button& Make(const TwipsRect& where, const PropertyBag& properties = {}) {
        button = std::make_unique<Button>(*window, "HelpButton", where, properties);
        button->SetOnClick([this] { events.push_back("click"); });
        button->SetOnMouse([this](const MouseEvent& e) {
            events.push_back(e.action == MouseAction::Press     ? "down"
                             : e.action == MouseAction::Release ? "up"
                                                                : "move");
        });
        window->Show();
        return *button;
    }
    const std::vector<Op>& Painted() {
        auto& box = static_cast<fakes::FakePaintBox&>(button->control());
        box.Repaint();
        return box.painted.ops;
    }
    void Mouse(MouseAction action) {
        ui.Input(fakes::MouseAt{"Form", {action, MouseButton::Left, 100, 100}, "HelpButton"});
    }
    std::unique_ptr<Button> button;
};

TEST_F(ButtonTest, PaintsAnOvalFaceWithABevelThatSinksWhilePressed) {
    PropertyBag properties;
    properties.Write<std::string>("Caption", "OK", "HelpButton");
    properties.Write<std::int64_t>("BackColor", 0x00FF00, colours::kButtonFace);
    Make({0, 0, 1200, 450}, properties);
    for (const bool pressed : {false, true, false}) {
        SCOPED_TRACE(pressed);
        if (pressed != button->Pressed()) {
            Mouse(pressed ? MouseAction::Press : MouseAction::Release);
        }
        const std::vector<Op>& ops = Painted();
        ASSERT_EQ(ops.size(), 9u);
        EXPECT_EQ(ops[0].kind, Op::Clear);
        EXPECT_EQ(ops[0].colour, colours::kButtonFace) << "outside the oval: button face";
        const Op& face = ops[1];
        EXPECT_TRUE(face.kind == Op::Ellipse && face.fill == 0x00FF00 &&
                    face.colour == colours::kButtonFace);
        EXPECT_EQ(std::vector<double>({face.cx, face.cy, face.radius, face.aspect}),
                  std::vector<double>({595, 220, 595, 440.0 / 1190}));
        const Colour up[] = {0x000000, 0x808080,          0xC0C0C0,
                             0xFFFFFF, colours::k3dLight, colours::k3dLight};
        for (int i = 0; i < 6; ++i) {
            const Op& arc = ops[2 + static_cast<std::size_t>(i)];
            const bool lower = i < 3;
            EXPECT_EQ(arc.radius, 595 - 15 * (i % 3));
            EXPECT_EQ(arc.start, lower ? 3.927 : 0.785);
            EXPECT_EQ(arc.end, lower ? 0.785 : 3.927);
            EXPECT_EQ(arc.colour, pressed ? (lower ? 0xFFFFFFu : 0u) : up[i]) << i;
        }
        EXPECT_EQ(std::make_pair(ops[8].x, ops[8].y), std::make_pair((1200 - 210) / 2, 127))
            << "the caption stays put while pressed";
        EXPECT_EQ(ops[8].colour, colours::kButtonText);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));
}

TEST_F(ButtonTest, ClicksOnAMouseClickOrEnterWithTheFocusAndNeverOnTheSpaceBar) {
    Make({0, 0, 1200, 450});
    EXPECT_EQ(Painted()[1].fill, colours::kButtonFace) << "the face without a colour of its own";
    ui.Input(fakes::PressKey{"Form", {keys::kEnter}});
    EXPECT_EQ(events, std::vector<std::string>{}) << "Enter without the focus";
    button->control().SetFocus();
    ui.Input(fakes::PressKey{"Form", {keys::kSpace}});
    ui.Input(fakes::PressKey{"Form", {keys::kEnter}});
    ui.Input(fakes::ClickOn{"Form", "HelpButton"});
    EXPECT_EQ(events, (std::vector<std::string>{"click", "down", "up", "click"}));
}

// Greyed, it raises nothing; a caption larger than the button starts five twips in.
TEST_F(ButtonTest, ADisabledButtonIsGreyAndRaisesNothing) {
    PropertyBag properties;
    properties.Write("Enabled", false, true);
    properties.Write<std::string>("Caption", "A caption far too wide", "HelpButton");
    Make({0, 0, 600, 100}, properties);
    const Op& caption = Painted().back();
    EXPECT_EQ(caption.colour, 0x808080u);
    EXPECT_EQ(std::make_pair(caption.x, caption.y), std::make_pair(5, 5));
    button->control().SetFocus();
    ui.Input(fakes::ClickOn{"Form", "HelpButton"});
    Mouse(MouseAction::Press);
    ui.Input(fakes::PressKey{"Form", {keys::kEnter}});
    EXPECT_EQ(events, std::vector<std::string>{});
    EXPECT_FALSE(button->Pressed());
}

}  // namespace
}  // namespace kestrum
