#pragma once

#include <QObject>

class QKeyEvent;
class TForm1;

// Routes the events of the main window and its controls to the window's handlers: keys of
// the window (when no control has the focus), of VireFocus and of the zoom box, the mouse
// over the client area, the first paint, the close request, the full-screen size. Any key
// released anywhere, and the window losing activation, end KeyHeld: a key let go elsewhere
// is no longer held. An exception in a handler goes to the program's handler from here.
class Unit1Events : public QObject {
public:
    explicit Unit1Events(TForm1 &form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One event of any object of the program, passed on to the window's handlers when it is theirs.
    bool filter(QObject *watched, QEvent *event);
    // Keys turn pages from VireFocus, and from the window while no control has the focus.
    bool boundToKeys(QObject *watched) const;
    // A key pressed where keys turn pages: FormKeyDown.
    void keyPressed(QObject *watched, const QKeyEvent &key);
    // A key released: in the zoom box FormKeyDown, where keys turn pages FormKeyUp; elsewhere it
    // only ends KeyHeld.
    void keyReleased(QObject *watched, const QKeyEvent &key);
    // The window's close request: refused while FormCloseQuery says so, else FormClose runs.
    bool closeRequested(QEvent &close);

    TForm1 &form_;
};
