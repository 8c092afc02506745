#include "app/widgets/ClientArea.h"
#include "app/widgets/PictureBox.h"
#include "platform/Registry.h"
#include "tests/app/WindowFixture.h"
#include "tests/support/BookFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

const QString PageNotFound = QStringLiteral("Page introuvable.");

void MoveMouse(Window &window, int x, int y)
{
    QWidget *canvas = window.form.Client->canvas();
    QMouseEvent event(QEvent::MouseMove, QPointF(x, y), canvas->mapToGlobal(QPointF(x, y)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
}

void Wheel(QWidget *widget, int delta)
{
    const QPointF at(5, 5);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

TEST(FullScreen, NeedsAnOpenFile)
{
    Window window;
    window.form.show();
    window.form.Pleincran1->trigger();
    EXPECT_FALSE(window.form.state.FullScreen);
    EXPECT_FALSE(window.form.menuHidden());
    EXPECT_FALSE(window.form.isFullScreen());
}

TEST(FullScreen, OnAndOffThroughMenuAndToolButton)
{
    Window window;
    window.openBlankPages(3, 2);
    window.form.showNormal();
    window.form.Image1->setCursor(Qt::CrossCursor);

    window.form.Pleincran1->trigger();
    TForm1 &form = window.form;
    EXPECT_TRUE(form.state.FullScreen);
    EXPECT_TRUE(form.menuHidden());
    EXPECT_FALSE(form.Panel1->isVisible());
    EXPECT_TRUE(form.isFullScreen());
    EXPECT_EQ(form.cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::CrossCursor); // left alone when turning on
    EXPECT_TRUE(form.ToolBarPleinEcran->isVisible());
    EXPECT_EQ(form.ToolBarPleinEcran->pos(),
              QPoint(form.width() - form.ToolBarPleinEcran->width(), -3));
    EXPECT_EQ(form.state.CurrentPage, 2);
    form.resize(form.width() - 100, form.height()); // the screen resizes it later
    EXPECT_EQ(form.ToolBarPleinEcran->pos(),
              QPoint(form.width() - form.ToolBarPleinEcran->width(), -3));

    form.ToolButton1->trigger();
    EXPECT_FALSE(form.state.FullScreen);
    EXPECT_FALSE(form.menuHidden());
    EXPECT_TRUE(form.Panel1->isVisible());
    EXPECT_FALSE(form.isFullScreen());
    EXPECT_TRUE(form.isMaximized()); // whatever it was before
    EXPECT_FALSE(form.ToolBarPleinEcran->isVisible());
    EXPECT_FALSE(form.SourisPleinEcran->isActive());
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(window.prompter.messages.empty());
}

TEST(FullScreen, FirstCloseLeavesFullScreenSecondClosesAndSaves)
{
    Window window;
    window.openBlankPages(2);
    window.form.show();
    window.form.Pleincran1->trigger();

    EXPECT_FALSE(window.form.close());
    EXPECT_TRUE(window.form.isVisible());
    EXPECT_FALSE(window.form.state.FullScreen);
    EXPECT_FALSE(platform::RegistryKey::exists(platform::Hive::CurrentUser, "Software\\Quirelle"));

    EXPECT_TRUE(window.form.close());
    EXPECT_FALSE(window.form.isVisible());
    EXPECT_TRUE(window.form.state.CurrentFile.isEmpty());
    const auto key =
        platform::RegistryKey::open(platform::Hive::CurrentUser, "Software\\Quirelle", false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readString("Agrandissement"), "Max");
}

TEST(FullScreen, PointerAndToolBarHideAfterTheFirstMovement)
{
    Window window;
    window.openBlankPages(2);
    window.form.show();
    QTimer &timer = *window.form.SourisPleinEcran;
    EXPECT_EQ(timer.interval(), 2000);

    MoveMouse(window, 5, 5); // not in full screen: nothing
    EXPECT_FALSE(timer.isActive());

    window.form.Pleincran1->trigger();
    MoveMouse(window, 5, 5);
    EXPECT_TRUE(window.form.ToolBarPleinEcran->isVisible());
    EXPECT_EQ(window.form.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(window.form.Image1->cursor().shape(), Qt::ArrowCursor);
    ASSERT_TRUE(timer.isActive());
    QTest::qWait(600);
    MoveMouse(window, 6, 6);
    // Still counting from the first movement: a restarted timer would have about 2000 ms left.
    EXPECT_LE(timer.remainingTime(), 1700);

    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.form.ToolBarPleinEcran->isVisible(); }));
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(window.form.cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(window.form.Image1->cursor().shape(), Qt::BlankCursor);

    MoveMouse(window, 6, 6); // the same place: no movement
    EXPECT_FALSE(window.form.ToolBarPleinEcran->isVisible());
    MoveMouse(window, 7, 6);
    EXPECT_TRUE(window.form.ToolBarPleinEcran->isVisible());
    EXPECT_TRUE(timer.isActive());
}

TEST(FullScreen, NoScrollBarAndThePageMovesOnlyWithinItsRange)
{
    // Pages taller than the screen, one of them wider too, at their actual size.
    const QSize pages[] = {{300, 2000}, {2400, 1500}};
    for (const QSize page : pages) {
        SCOPED_TRACE(testing::Message() << page.width() << "x" << page.height());
        Window window;
        TForm1 &form = window.form;
        WriteFileBytes(window.dir / "grand.bd",
                       AssembleBook({MakeJpeg(page.width(), page.height())}));
        form.show();
        form.Charge(QString::fromStdString((window.dir / "grand.bd").string()));
        ASSERT_EQ(form.Zoom->currentIndex(), 0);
        form.Pleincran1->trigger();
        QCoreApplication::processEvents();

        ClientArea &client = *form.Client;
        EXPECT_EQ(client.viewport()->size(), client.size()) << "a scroll bar takes room";
        EXPECT_FALSE(client.verticalScrollBar()->isVisible());
        EXPECT_FALSE(client.horizontalScrollBar()->isVisible());
        EXPECT_FALSE(form.ScrollBar1->isVisible());
        const int range = page.height() - client.clientHeight();
        ASSERT_GT(range, 0);
        EXPECT_EQ(form.ScrollBar1->maximum(), range);

        // Each way of moving the page, far past its end, then back.
        const std::function<void(int)> moves[] = {
            // A wheel event sent by hand does not go up from the page to the area showing it.
            [&](int down) { Wheel(form.Client->viewport(), down ? -120 : 120); },
            [&](int down) { window.press(form.VireFocus, down ? Qt::Key_Down : Qt::Key_Up); },
        };
        for (const auto &move : moves) {
            for (const int down : {1, 0}) {
                for (int i = 0; i < 100; ++i)
                    move(down);
                EXPECT_EQ(form.Image1->y(), down ? -range : 0);
                EXPECT_EQ(client.shownCanvasRect(), QRect(QPoint(0, 0), client.viewport()->size()))
                    << "the area itself scrolled";
            }
        }

        form.ToolButton1->trigger();
        QCoreApplication::processEvents();
        EXPECT_GT(client.verticalScrollBar()->maximum(), 0) << "a window scrolls again";
    }
}

TEST(FullScreen, ExitButtonGlyphStaysVisibleUnderThePointer)
{
    Window window;
    window.openBlankPages(1);
    window.form.show();
    window.form.Pleincran1->trigger();
    auto *button = qobject_cast<QToolButton *>(
        window.form.ToolBarPleinEcran->widgetForAction(window.form.ToolButton1));
    ASSERT_TRUE(button);
    for (const bool hovered : {false, true}) {
        SCOPED_TRACE(hovered ? "under the pointer" : "at rest");
        if (hovered) {
            button->setAttribute(Qt::WA_UnderMouse);
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
            QCoreApplication::sendEvent(button, &enter);
        }
        const QImage image = button->grab().toImage();
        // The white glyph, in the middle of the button, against the face inside its border.
        QRect glyph(QPoint(0, 0), button->iconSize());
        glyph.moveCenter(image.rect().center());
        int brightest = 0;
        for (int y = glyph.top(); y <= glyph.bottom(); ++y)
            for (int x = glyph.left(); x <= glyph.right(); ++x)
                brightest = std::max(brightest, qGray(image.pixel(x, y)));
        const int face = qGray(image.pixel(2, 2));
        EXPECT_GE(brightest - face, 128) << "glyph " << brightest << ", face " << face;
    }
}

TEST(Keys, PageTurningAtBothEndsOfTheBook)
{
    struct Case {
        int shown;
        int key;
        int expected;
        bool notFound;
        int pageCount = 3; // of the 4 entries listed: a meta record may name more pages
    };
    const Case cases[] = {
        {2, Qt::Key_Left, 1, false},  {1, Qt::Key_Left, 1, true},    {2, Qt::Key_Right, 3, false},
        {3, Qt::Key_Right, 3, true},  {3, Qt::Key_Home, 1, false},   {1, Qt::Key_End, 3, false},
        {2, Qt::Key_A, 2, false},     {2, Qt::Key_Escape, 2, false}, {4, Qt::Key_Right, 4, true, 5},
        {1, Qt::Key_End, 1, true, 5},
    };
    for (const Case &c : cases) {
        Window window;
        window.openBlankPages(4, c.shown);
        window.form.state.PageCountCache = c.pageCount;
        window.press(window.form.VireFocus, c.key);
        EXPECT_EQ(window.form.state.CurrentPage, c.expected) << c.shown << " " << c.key;
        EXPECT_EQ(window.prompter.texts(),
                  c.notFound ? std::vector<QString>{PageNotFound} : std::vector<QString>{})
            << c.shown << " " << c.key;
        EXPECT_TRUE(window.form.state.KeyHeld);
    }
}

TEST(Keys, PastTheFirstPageLeavesTheThumbnailGrid)
{
    Window window;
    window.openBlankPages(3);
    window.form.show();
    window.form.Visionneuse1->trigger();
    ASSERT_FALSE(window.form.Image1->isVisible());
    window.press(window.form.VireFocus, Qt::Key_Left);
    EXPECT_TRUE(window.form.Image1->isVisible());
    EXPECT_TRUE(window.form.Panel1->isVisible());
    EXPECT_EQ(window.prompter.texts(), std::vector<QString>{PageNotFound});
}

TEST(Keys, WindowTakesKeysOnlyWhenNoControlHasTheFocus)
{
    Window window;
    window.openBlankPages(3, 2);
    window.form.show();
    QApplication::setActiveWindow(&window.form);
    window.form.setFocus();
    window.press(&window.form, Qt::Key_Right);
    EXPECT_EQ(window.form.state.CurrentPage, 3);
    EXPECT_TRUE(window.form.VireFocus->hasFocus()) << "the focus goes to VireFocus";

    // Typing in the page-name box turns no page, even when the key reaches the window.
    window.form.Label3Click();
    window.form.Edit3->setFocus();
    window.press(window.form.Edit3, Qt::Key_Home);
    window.press(&window.form, Qt::Key_Home);
    EXPECT_EQ(window.form.state.CurrentPage, 3);
}

TEST(Keys, TurnPagesFromTheStartAndAfterAClickOnThePage)
{
    Window window;
    window.openBlankPages(3);
    window.form.show();
    QApplication::setActiveWindow(&window.form);
    const auto pressWhereTheKeyboardIs = [&](int key) {
        QWidget *focus = QApplication::focusWidget();
        window.press(focus ? static_cast<QObject *>(focus) : &window.form, key);
    };
    pressWhereTheKeyboardIs(Qt::Key_Right);
    EXPECT_EQ(window.form.state.CurrentPage, 2);

    QTest::mouseClick(window.form.Image1, Qt::LeftButton);
    pressWhereTheKeyboardIs(Qt::Key_Right);
    EXPECT_EQ(window.form.state.CurrentPage, 3);
}

TEST(Keys, WithNoFileOnlyKeyHeldChanges)
{
    Window window;
    window.press(window.form.VireFocus, Qt::Key_End);
    EXPECT_TRUE(window.form.state.KeyHeld);
    EXPECT_TRUE(window.prompter.messages.empty());
    window.release(window.form.VireFocus, Qt::Key_End);
    EXPECT_FALSE(window.form.state.KeyHeld);
}

TEST(Keys, UpAndDownScrollByThirty)
{
    Window window;
    window.openBlankPages(1);
    window.form.show();
    window.form.Pleincran1->trigger();
    QScrollBar &bar = *window.form.ScrollBar1;
    bar.setRange(0, 100);
    bar.setValue(50);
    EXPECT_EQ(window.form.Image1->y(), -50);
    const struct {
        int key;
        int value;
    } steps[] = {{Qt::Key_Up, 20},   {Qt::Key_Up, 0},    {Qt::Key_Down, 30},
                 {Qt::Key_Down, 60}, {Qt::Key_Down, 90}, {Qt::Key_Down, 100}};
    for (const auto &step : steps) {
        window.press(window.form.VireFocus, step.key);
        EXPECT_EQ(bar.value(), step.value);
        EXPECT_EQ(window.form.Image1->y(), -step.value);
    }

    // In a window the keys scroll the client area instead.
    window.form.ToolButton1->trigger();
    window.form.Image1->setGeometry(0, 0, 100, 5000);
    window.form.Client->updateScrollRange();
    QScrollBar &client = *window.form.Client->verticalScrollBar();
    ASSERT_GT(client.maximum(), 60);
    window.press(window.form.VireFocus, Qt::Key_Down);
    window.press(window.form.VireFocus, Qt::Key_Down);
    EXPECT_EQ(client.value(), 60);
    window.press(window.form.VireFocus, Qt::Key_Up);
    EXPECT_EQ(client.value(), 30);
    EXPECT_EQ(bar.value(), 100);
}

TEST(Keys, EscLeavesFullScreenOnKeyUp)
{
    Window window;
    window.openBlankPages(1);
    window.form.showNormal();
    window.press(window.form.VireFocus, Qt::Key_Escape);
    window.release(window.form.VireFocus, Qt::Key_Escape);
    EXPECT_FALSE(window.form.state.FullScreen);
    EXPECT_FALSE(window.form.state.KeyHeld);
    EXPECT_FALSE(window.form.isMaximized());

    window.form.Pleincran1->trigger();
    window.press(window.form.VireFocus, Qt::Key_Escape);
    EXPECT_TRUE(window.form.state.FullScreen);
    window.release(window.form.VireFocus, Qt::Key_Escape);
    EXPECT_FALSE(window.form.state.FullScreen);
}

TEST(Keys, KeyHeldEndsWhereverTheKeyIsReleased)
{
    Window window;
    window.openBlankPages(3, 2);
    window.form.show();

    // The zoom box turns the page on key up; the key is up, so nothing stays held.
    window.release(window.form.Zoom, Qt::Key_Right);
    EXPECT_EQ(window.form.state.CurrentPage, 3);
    EXPECT_FALSE(window.form.state.KeyHeld);
    window.press(window.form.Zoom, Qt::Key_Left); // key down in the zoom box: no page turned
    EXPECT_EQ(window.form.state.CurrentPage, 3);

    // A key let go over another control, or while another window is active.
    window.press(window.form.VireFocus, Qt::Key_Left);
    ASSERT_TRUE(window.form.state.KeyHeld);
    window.release(window.form.Edit3, Qt::Key_Left);
    EXPECT_FALSE(window.form.state.KeyHeld);

    window.press(window.form.VireFocus, Qt::Key_Left);
    ASSERT_TRUE(window.form.state.KeyHeld);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&window.form, &deactivate);
    EXPECT_FALSE(window.form.state.KeyHeld);

    // Auto-repeat releases do not end a key held down.
    window.press(window.form.VireFocus, Qt::Key_Left);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(window.form.VireFocus, &repeat);
    EXPECT_TRUE(window.form.state.KeyHeld);
}
