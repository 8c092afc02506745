#include "app/widgets/ClientArea.h"

#include <QEvent>
#include <QScrollBar>

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
        if (child->isVisibleTo(canvas()) && !child->isWindow())
            extent |= QRect(QPoint(0, 0), child->geometry().bottomRight());
    }
    if (canvas()->size() != extent.size())
        canvas()->resize(extent.size());
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
