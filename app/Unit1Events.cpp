#include "app/Unit1Events.h"

#include "app/Unit1.h"
#include "app/adapters/QuirelleApplication.h"
#include "app/widgets/ClientArea.h"
#include "app/widgets/PictureBox.h"
#include "app/widgets/VirtualKey.h"
#include "controls/EventGuard.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

void TForm1::connectEvents()
{
    ToolBarPleinEcran->setMovable(false);
    // The exit button's glyph is white: its hot and pressed faces stay dark.
    ToolBarPleinEcran->setStyleSheet(
        QStringLiteral("QToolBar { background: black; border: 0; }"
                       "QToolButton { background: black; border: 1px solid black; }"
                       "QToolButton:hover { background: #404040; border-color: #808080; }"
                       "QToolButton:pressed { background: #202020; }"));
    ToolButton1 =
        ToolBarPleinEcran->addAction(QIcon(QStringLiteral(":/quirelle/PleinEcran.png")), QString());
    ConnectGuarded(ToolButton1, &QAction::triggered, this, &TForm1::ToolButton1Click);
    ConnectGuarded(Pleincran1, &QAction::triggered, this, &TForm1::Pleincran1Click);
    ConnectGuarded(N3, &QAction::triggered, this, &TForm1::N3Click);
    ConnectGuarded(SourisPleinEcran, &QTimer::timeout, this, &TForm1::SourisPleinEcranTimer);
    ConnectGuarded(ScrollBar1, &QScrollBar::valueChanged, this, &TForm1::ScrollBar1Change);
    Image1->setMouseTracking(true);
    ConnectGuarded(Image1, &PictureBox::mouseMoved, this, &TForm1::FormMouseMove);
    events_ = std::make_unique<Unit1Events>(*this);

    if (QuirelleApplication *application = QuirelleApplication::instance()) {
        application->setExceptionHandler([this](const QObject *sender, const QString &message) {
            ApplicationEvents1Exception(sender, message);
        });
        SetEventExceptionHook(
            [application](const QObject *source) { application->handleCurrentException(source); });
        connect(this, &QObject::destroyed, application, [application] {
            SetEventExceptionHook({});
            application->setExceptionHandler({});
        });
    }
}

Unit1Events::Unit1Events(TForm1 &form) : form_(form)
{
    form.Client->canvas()->setMouseTracking(true);
    // The client area is the window itself, not a control: it must not take the arrow keys,
    // neither at start nor when the page is clicked. The keys start at VireFocus.
    form.Client->setFocusPolicy(Qt::NoFocus);
    form.VireFocus->setFocus();
    qApp->installEventFilter(this);
}

bool Unit1Events::eventFilter(QObject *watched, QEvent *event)
{
    bool filtered = false;
    GuardEvent(watched, [&] { filtered = filter(watched, event); });
    return filtered;
}

bool Unit1Events::filter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: keyPressed(watched, static_cast<const QKeyEvent &>(*event)); break;
    case QEvent::KeyRelease: keyReleased(watched, static_cast<const QKeyEvent &>(*event)); break;
    case QEvent::MouseMove:
        if (watched == form_.Client->canvas()) {
            const QPoint at = static_cast<const QMouseEvent *>(event)->position().toPoint();
            form_.FormMouseMove(at.x(), at.y());
        }
        break;
    case QEvent::Paint:
        if (watched == &form_)
            form_.FormPaint();
        break;
    case QEvent::Resize:
        // The window reaches its full-screen size only once the screen has taken it.
        if (watched == &form_ && form_.state.FullScreen)
            form_.PlaceToolBarPleinEcran();
        break;
    case QEvent::WindowDeactivate:
        if (watched == &form_)
            form_.state.KeyHeld = false;
        break;
    case QEvent::Close:
        if (watched == &form_)
            return closeRequested(*event);
        break;
    default: break;
    }
    return false;
}

// The window itself takes keys only while no control has the focus.
bool Unit1Events::boundToKeys(QObject *watched) const
{
    if (watched == form_.VireFocus)
        return true;
    const QWidget *focus = QApplication::focusWidget();
    return watched == &form_ && (!focus || focus == &form_);
}

void Unit1Events::keyPressed(QObject *watched, const QKeyEvent &key)
{
    if (boundToKeys(watched))
        form_.FormKeyDown(VirtualKeyCode(key.key()), key.modifiers());
}

void Unit1Events::keyReleased(QObject *watched, const QKeyEvent &key)
{
    if (key.isAutoRepeat())
        return;
    if (watched == form_.Zoom) {
        // The zoom box turns pages when a key is released in it; that key is up already.
        form_.FormKeyDown(VirtualKeyCode(key.key()), key.modifiers());
        form_.state.KeyHeld = false;
    } else if (boundToKeys(watched)) {
        form_.FormKeyUp(VirtualKeyCode(key.key()));
    } else {
        form_.state.KeyHeld = false;
    }
}

bool Unit1Events::closeRequested(QEvent &close)
{
    if (!form_.FormCloseQuery()) {
        close.ignore();
        return true;
    }
    form_.FormClose();
    return false;
}
