#include "app/widgets/ClientArea.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QWheelEvent>

ClientArea::ClientArea(QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setWidget(new QWidget);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    viewport()->setAutoFillBackground(true);
    widget()->setAutoFillBackground(true);
}

QRect ClientArea::shownCanvasRect() const
{
    return QRect(-canvas()->pos(), viewport()->size());
}

void ClientArea::updateScrollRange()
{
    QRect extent(0, 0, clientWidth(), clientHeight());
    for (QWidget *child : canvas()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!pager_ && child->isVisibleTo(canvas()) && !child->isWindow())
            extent |= QRect(QPoint(0, 0), child->geometry().bottomRight());
    }
    if (canvas()->size() != extent.size())
        canvas()->resize(extent.size());
}

void ClientArea::setPager(QScrollBar *pager)
{
    pager_ = pager;
    const Qt::ScrollBarPolicy policy = pager ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    setVerticalScrollBarPolicy(policy);
    setHorizontalScrollBarPolicy(policy);
    updateScrollRange();
}

void ClientArea::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    emit resized();
}

bool ClientArea::viewportEvent(QEvent *event)
{
    const bool handled = QScrollArea::viewportEvent(event);
    if (event->type() == QEvent::Resize)
        emit viewportResized();
    return handled;
}

void ClientArea::wheelEvent(QWheelEvent *event)
{
    if (!pager_) {
        QScrollArea::wheelEvent(event);
        return;
    }
    // As a scroll bar takes the wheel: its small step for each line of a notch (120).
    const int lines = QApplication::wheelScrollLines();
    pager_->setValue(pager_->value() -
                     event->angleDelta().y() * lines * pager_->singleStep() / 120);
    event->accept();
}
