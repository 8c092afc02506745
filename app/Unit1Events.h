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
    bool filter(QObject *watched, QEvent *event);
    bool boundToKeys(QObject *watched) const;
    void keyPressed(QObject *watched, const QKeyEvent &key);
    void keyReleased(QObject *watched, const QKeyEvent &key);
    bool closeRequested(QEvent &close);

    TForm1 &form_;
};
