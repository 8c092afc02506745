#include "controls/PixelDrawing.h"

#include <QPainter>
#include <QRect>

#include <algorithm>

QColor ToQColor(TColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void DrawLine(QPainter &painter, QPoint from, QPoint to, TColor color)
{
    if (from == to)
        return;
    // The last painted pixel is one step back from `to` towards `from`.
    QPoint last = to;
    if (from.y() == to.y())
        last.rx() += from.x() < to.x() ? -1 : 1;
    else
        last.ry() += from.y() < to.y() ? -1 : 1;
    const QRect span(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                     QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y())));
    painter.fillRect(span, ToQColor(color));
}

void DrawFrame(QPainter &painter, int left, int top, int right, int bottom, TColor color)
{
    if (right <= left || bottom <= top)
        return;
    const QColor pen = ToQColor(color);
    painter.fillRect(QRect(left, top, right - left, 1), pen);
    painter.fillRect(QRect(left, bottom - 1, right - left, 1), pen);
    painter.fillRect(QRect(left, top, 1, bottom - top), pen);
    painter.fillRect(QRect(right - 1, top, 1, bottom - top), pen);
}
