#pragma once

#include <QPointer>
#include <QScrollArea>

class QScrollBar;

// The window's scrolling client area. Its canvas holds the page, the top panel and the
// thumbnail grid; the canvas grows to the controls it holds, so the window scrolls over them.
class ClientArea : public QScrollArea {
    Q_OBJECT

public:
    explicit ClientArea(QWidget *parent = nullptr);

    QWidget *canvas() const { return widget(); }
    int clientWidth() const { return viewport()->width(); }
    int clientHeight() const { return viewport()->height(); }
    // The part of the canvas the client area shows, in the canvas's coordinates.
    QRect shownCanvasRect() const;
    // Fits the canvas to the visible controls on it, at least the size of the client area;
    // with a pager, to the client area alone.
    void updateScrollRange();
    // With a pager (full screen) the area shows no scroll bar and does not scroll, and the
    // mouse wheel moves the pager, which keeps within its range; nullptr scrolls again.
    void setPager(QScrollBar *pager);

signals:
    void resized();         // the area itself, with the window
    void viewportResized(); // also when a scroll bar comes or goes

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QPointer<QScrollBar> pager_;
};
