#pragma once

#include <QWidget>

class ClientArea;

// The wait display of the document commands: it covers the window's client area, follows
// its size and shows at its centre one frame of twelve: a ring of twelve panels, the
// frame's panel dark and the three before it fading, so that the ring turns frame by frame.
class WaitAnimation : public QWidget {
    Q_OBJECT

public:
    explicit WaitAnimation(ClientArea *area);

    void showFrame(int frame);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int frame_ = 0;
};
