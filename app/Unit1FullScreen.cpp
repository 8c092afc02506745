// Full screen, the pointer and tool bar that hide in it, and page turning by keyboard.
#include "app/Unit1.h"

#include "app/widgets/ClientArea.h"
#include "app/widgets/PictureBox.h"
#include "app/widgets/VirtualKey.h"

#include <QMenuBar>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

void TForm1::Pleincran1Click()
{
    if (state.CurrentFile.isEmpty())
        return;
    state.FullScreen = !state.FullScreen;
    if (!state.FullScreen) {
        SourisPleinEcran->stop();
        ToolBarPleinEcran->setVisible(false);
        setCursor(Qt::ArrowCursor);
        Image1->setCursor(Qt::ArrowCursor);
    }
    Panel1->setVisible(!state.FullScreen);
    menuBar()->setVisible(!state.FullScreen);
    // In full screen only the hidden ScrollBar1 moves the page.
    Client->setPager(state.FullScreen ? ScrollBar1 : nullptr);
    // A full-screen window has no border; on leaving, it is maximized whatever it was before.
    // The border is left to the window state: changing the window's flags would hide and show
    // it again, and the window manager's answers then undo the new state.
    if (state.FullScreen)
        showFullScreen();
    else
        showMaximized();
    setCursor(state.FullScreen ? Qt::BlankCursor : Qt::ArrowCursor);
    ShowEntry(state.CurrentPage - 1);
    ToolBarPleinEcran->setVisible(state.FullScreen);
    PlaceToolBarPleinEcran();
}

void TForm1::PlaceToolBarPleinEcran()
{
    ToolBarPleinEcran->adjustSize();
    ToolBarPleinEcran->move(width() - ToolBarPleinEcran->width(), -3);
    ToolBarPleinEcran->raise();
}

void TForm1::ToolButton1Click()
{
    Pleincran1Click();
}

bool TForm1::FormCloseQuery()
{
    if (!state.FullScreen)
        return true;
    Pleincran1Click();
    return false;
}

void TForm1::FormMouseMove(int x, int y)
{
    if (!state.FullScreen || (x == state.LastMouseX && y == state.LastMouseY))
        return;
    state.LastMouseX = x;
    state.LastMouseY = y;
    ToolBarPleinEcran->setVisible(true);
    Image1->setCursor(Qt::ArrowCursor);
    setCursor(Qt::ArrowCursor);
    // A running timer is left alone: the pointer goes 2000 ms after it was first shown.
    if (!SourisPleinEcran->isActive())
        SourisPleinEcran->start();
}

void TForm1::SourisPleinEcranTimer()
{
    Image1->setCursor(Qt::BlankCursor);
    setCursor(Qt::BlankCursor);
    ToolBarPleinEcran->setVisible(false);
    SourisPleinEcran->stop();
}

void TForm1::ScrollBar1Change()
{
    Image1->move(Image1->x(), -ScrollBar1->value());
}

void TForm1::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    state.KeyHeld = true;
    if (state.CurrentFile.isEmpty())
        return;
    QScrollBar *vertical = state.FullScreen ? ScrollBar1 : Client->verticalScrollBar();
    switch (key) {
    case VK_END: ShowEntry(state.PageCountCache - 1); break;
    case VK_HOME: ShowEntry(0); break;
    // Past either end: "Page introuvable.", out of the thumbnails. The end is the page count,
    // even when the list holds entries past it.
    case VK_LEFT: ShowEntry(state.CurrentPage - 2); break;
    case VK_RIGHT:
        if (state.CurrentPage == state.PageCountCache)
            AffichePage(QString());
        else
            ShowEntry(state.CurrentPage);
        break;
    case VK_UP: vertical->setValue(vertical->value() - 30); break;
    case VK_DOWN: vertical->setValue(vertical->value() + 30); break;
    default: break;
    }
    VireFocus->setFocus();
}

void TForm1::FormKeyUp(int key)
{
    state.KeyHeld = false;
    if (key == VK_ESCAPE && state.FullScreen)
        Pleincran1Click();
}
