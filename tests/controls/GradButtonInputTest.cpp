#include "controls/EventGuard.h"
#include "controls/GradButton.h"
#include "tests/controls/ButtonEvents.h"

#include <QDialog>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

enum class Action {
    Enter,
    Leave,
    PressLeft,
    ReleaseLeft,
    PressRight,
    ReleaseRight,
    MoveOut,
    MoveIn,
    ReleaseLeftOnEdge,
    ReleaseLeftOutside,
    FocusButton,
    FocusOther,
    SpaceDown,
    SpaceDownRepeat,
    SpaceUp,
    SpaceUpRepeat,
    ReturnDown,
    ShiftReturnDown,
    EscapeInOther,
    ShiftEscapeInOther,
    ReturnInOther,
    AltO,
};

struct Step {
    Action action;
    ButtonState after;
};

struct Setup {
    bool hotTrack = true;
    bool cancel = false;
    bool isDefault = false;
    bool enabled = true;
};

struct Sequence {
    const char *name;
    Setup setup;
    std::vector<Step> steps;
    int clicks;
    bool dialogRejects = false; // the key went on to the dialog's own handling
};

constexpr auto N = ButtonState::Normal;
constexpr auto H = ButtonState::Hot;
constexpr auto P = ButtonState::Pressed;

const Sequence Sequences[] = {
    {"hover", {}, {{Action::Enter, H}, {Action::Leave, N}}, 0},
    {"press, leave, come back, release inside",
     {},
     {{Action::Enter, H},
      {Action::PressLeft, P},
      {Action::MoveOut, N},
      {Action::MoveIn, P},
      {Action::ReleaseLeft, H}},
     1},
    {"press, leave, release outside",
     {},
     {{Action::Enter, H},
      {Action::PressLeft, P},
      {Action::MoveOut, N},
      {Action::ReleaseLeftOutside, N}},
     0},
    // The click shows the normal state; a release on the edge leaves it.
    {"release on the edge pixel clicks",
     {},
     {{Action::Enter, H}, {Action::PressLeft, P}, {Action::ReleaseLeftOnEdge, N}},
     1},
    {"right button neither presses nor clicks",
     {},
     {{Action::Enter, H}, {Action::PressRight, H}, {Action::ReleaseRight, H}},
     0},
    {"HotTrack off",
     {.hotTrack = false},
     {{Action::Enter, N},
      {Action::PressLeft, P},
      {Action::MoveOut, N},
      {Action::MoveIn, N},
      {Action::ReleaseLeft, N}},
     1},
    {"Space held shows pressed, its release clicks once",
     {},
     {{Action::FocusButton, N},
      {Action::SpaceDown, P},
      {Action::SpaceUpRepeat, P},
      {Action::SpaceDownRepeat, P},
      {Action::SpaceUp, N}},
     1},
    {"focus lost while Space is held",
     {},
     {{Action::FocusButton, N}, {Action::SpaceDown, P}, {Action::FocusOther, N}},
     0},
    {"Return on the focused button clicks once",
     {},
     {{Action::FocusButton, N}, {Action::ReturnDown, N}},
     1},
    {"Shift+Return on the focused button clicks on key down",
     {},
     {{Action::FocusButton, N}, {Action::ShiftReturnDown, N}},
     1},
    {"Escape clicks the Cancel button", {.cancel = true}, {{Action::EscapeInOther, N}}, 1},
    {"Shift+Escape leaves the Cancel button",
     {.cancel = true},
     {{Action::ShiftEscapeInOther, N}},
     0},
    {"Escape leaves a button without Cancel", {}, {{Action::EscapeInOther, N}}, 0, true},
    {"Return elsewhere leaves a button without Default", {}, {{Action::ReturnInOther, N}}, 0},
    {"a Default button clicks on every dialog key",
     {.isDefault = true},
     {{Action::ShiftEscapeInOther, N}, {Action::ReturnInOther, N}},
     2},
    {"a disabled Default button does not click",
     {.isDefault = true, .enabled = false},
     {{Action::ReturnInOther, N}},
     0},
    {"the accelerator clicks", {}, {{Action::AltO, N}}, 1},
    {"a disabled button ignores its accelerator", {.enabled = false}, {{Action::AltO, N}}, 0},
};

// A dialog with a line edit and the button under test.
class ButtonInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 100);
        other = new QLineEdit(&window);
        other->setGeometry(10, 60, 100, 20);
        button = new TGradButton(&window);
        button->setGeometry(10, 10, 75, 25);
        button->SetCaption(QStringLiteral("&Ouvrir"));
        QObject::connect(button, &TGradButton::OnClick, [this] { ++clicks; });
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void Run(Action action)
    {
        const QPoint inside(37, 12), outside(-5, 40), edge(0, 12);
        const auto key = [](QWidget &widget, int code, Qt::KeyboardModifiers modifiers = {}) {
            SendKey(widget, QEvent::KeyPress, code, modifiers);
        };
        switch (action) {
        case Action::Enter: SendEnter(*button, inside); break;
        case Action::Leave: SendLeave(*button); break;
        case Action::PressLeft:
            SendMouse(*button, QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
            break;
        case Action::ReleaseLeft: SendMouse(*button, QEvent::MouseButtonRelease, inside); break;
        case Action::PressRight:
            SendMouse(*button, QEvent::MouseButtonPress, inside, Qt::RightButton, Qt::RightButton);
            break;
        case Action::ReleaseRight:
            SendMouse(*button, QEvent::MouseButtonRelease, inside, Qt::RightButton);
            break;
        case Action::MoveOut:
            SendMouse(*button, QEvent::MouseMove, outside, Qt::NoButton, Qt::LeftButton);
            break;
        case Action::MoveIn:
            SendMouse(*button, QEvent::MouseMove, inside, Qt::NoButton, Qt::LeftButton);
            break;
        case Action::ReleaseLeftOnEdge: SendMouse(*button, QEvent::MouseButtonRelease, edge); break;
        case Action::ReleaseLeftOutside:
            SendMouse(*button, QEvent::MouseButtonRelease, outside);
            break;
        case Action::FocusButton: button->setFocus(Qt::TabFocusReason); break;
        case Action::FocusOther: other->setFocus(Qt::TabFocusReason); break;
        case Action::SpaceDown: key(*button, Qt::Key_Space); break;
        case Action::SpaceDownRepeat:
            SendKey(*button, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, true);
            break;
        case Action::SpaceUp: SendKey(*button, QEvent::KeyRelease, Qt::Key_Space); break;
        case Action::SpaceUpRepeat:
            SendKey(*button, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, true);
            break;
        case Action::ReturnDown: key(*button, Qt::Key_Return); break;
        case Action::ShiftReturnDown: key(*button, Qt::Key_Return, Qt::ShiftModifier); break;
        case Action::EscapeInOther: key(*other, Qt::Key_Escape); break;
        case Action::ShiftEscapeInOther: key(*other, Qt::Key_Escape, Qt::ShiftModifier); break;
        case Action::ReturnInOther: key(*other, Qt::Key_Return); break;
        case Action::AltO: QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier); break;
        }
    }

    QDialog window;
    QLineEdit *other = nullptr;
    TGradButton *button = nullptr;
    int clicks = 0;
};

class ButtonSequence : public ButtonInput, public ::testing::WithParamInterface<Sequence> {};

TEST_P(ButtonSequence, FollowsTheStateTable)
{
    const Sequence &sequence = GetParam();
    SCOPED_TRACE(sequence.name);
    other->setFocus();
    button->SetHotTrack(sequence.setup.hotTrack);
    button->SetCancel(sequence.setup.cancel);
    button->SetDefault(sequence.setup.isDefault);
    button->setEnabled(sequence.setup.enabled);
    for (std::size_t i = 0; i < sequence.steps.size(); ++i) {
        Run(sequence.steps[i].action);
        EXPECT_EQ(button->State(), sequence.steps[i].after) << "after step " << i + 1;
    }
    EXPECT_EQ(clicks, sequence.clicks);
    EXPECT_EQ(window.isVisible(), !sequence.dialogRejects);
}

void PrintTo(const Sequence &sequence, std::ostream *os)
{
    *os << sequence.name;
}

// The sequence's sentence as a test name: each run of other characters becomes '_'.
std::string SequenceName(const ::testing::TestParamInfo<Sequence> &info)
{
    std::string name;
    for (const char *c = info.param.name; *c; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c)))
            name += *c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(GradButton, ButtonSequence, ::testing::ValuesIn(Sequences), SequenceName);

TEST_F(ButtonInput, KeysNeverReachTheWindow)
{
    struct Recorder : QObject {
        int keys = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            keys += event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
            return false;
        }
    } recorder;
    window.installEventFilter(&recorder);
    button->setFocus();
    for (const int code : {Qt::Key_A, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape, Qt::Key_F1}) {
        EXPECT_TRUE(SendKey(*button, QEvent::KeyPress, code));
        EXPECT_TRUE(SendKey(*button, QEvent::KeyRelease, code));
    }
    EXPECT_EQ(recorder.keys, 0);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(ButtonInput, DialogKeysStayInTheButtonsWindow)
{
    QDialog child(&window);
    TGradButton cancel(&child);
    cancel.SetCancel(true);
    int cancelClicks = 0;
    QObject::connect(&cancel, &TGradButton::OnClick, [&] { ++cancelClicks; });
    child.show();
    button->setFocus();
    SendKey(*button, QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 0);
    SendKey(*other, QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 0);
}

TEST_F(ButtonInput, AcceleratorClicksAtOnceAndFollowsTheCaption)
{
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    button->SetCaption(QStringLiteral("Pa&ge"));
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonInput, ClickingTakesTheFocusOnlyWithTabStop)
{
    other->setFocus();
    button->SetTabStop(false);
    SendMouse(*button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(*button, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_TRUE(other->hasFocus());
    EXPECT_FALSE(button->Focused());

    button->SetTabStop(true);
    SendMouse(*button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(button->hasFocus());
    EXPECT_TRUE(button->Focused());
}

// A click handler that fails, however the button was clicked: the exception is handed over
// from the button's own handler, never unwound through the toolkit's, and the button goes
// back to its normal state.
TEST_F(ButtonInput, AFailingClickIsHandedOverFromTheButtonsHandler)
{
    std::vector<const QObject *> handedOver;
    SetEventExceptionHook([&](const QObject *source) { handedOver.push_back(source); });
    const auto unhook = qScopeGuard([] { SetEventExceptionHook({}); });
    QObject::connect(button, &TGradButton::OnClick, [] { throw std::logic_error("défaut"); });
    button->SetCancel(true);
    const std::vector<std::vector<Action>> ways = {
        {Action::Enter, Action::PressLeft, Action::ReleaseLeft},
        {Action::FocusButton, Action::SpaceDown, Action::SpaceUp},
        {Action::FocusButton, Action::ReturnDown},
        {Action::EscapeInOther},
        {Action::AltO},
    };
    for (const std::vector<Action> &way : ways) {
        other->setFocus();
        for (const Action action : way)
            Run(action);
        EXPECT_EQ(button->State(), ButtonState::Normal);
    }
    EXPECT_EQ(clicks, 5);
    EXPECT_EQ(handedOver, std::vector<const QObject *>(5, button));
    EXPECT_TRUE(window.isVisible());
}

TEST(GradButtonClick, ModalResultIsSetBeforeOnClick)
{
    const struct {
        int modalResult;
        bool dialogEnds;
    } cases[] = {{2, true}, {0, false}};
    for (const auto &c : cases) {
        QDialog dialog;
        TGradButton button(&dialog);
        button.SetModalResult(c.modalResult);
        int seen = -1;
        int finished = -1;
        QObject::connect(&button, &TGradButton::OnClick, [&] { seen = dialog.result(); });
        QObject::connect(&dialog, &QDialog::finished, [&](int result) { finished = result; });
        dialog.open();
        dialog.setResult(5);
        button.Click();
        EXPECT_EQ(seen, c.modalResult);
        EXPECT_EQ(dialog.isVisible(), !c.dialogEnds);
        EXPECT_EQ(finished, c.dialogEnds ? c.modalResult : -1);
    }
}

TEST(GradButtonClick, HandlerCanKeepTheDialogOpen)
{
    QDialog dialog;
    TGradButton button(&dialog);
    button.SetModalResult(2);
    QObject::connect(&button, &TGradButton::OnClick, [&] { dialog.setResult(0); });
    dialog.open();
    button.Click();
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
