#include "app/core/program/ScreenPlacement.h"

#include <algorithm>

QRect BringOntoScreens(const QRect &bounds, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return bounds;
    for (const QRect &screen : screens) {
        if (screen.intersects(bounds))
            return bounds;
    }
    const QRect &target = screens.front();
    const QSize size = bounds.size().boundedTo(target.size());
    const int left = std::clamp(bounds.left(), target.left(), target.right() + 1 - size.width());
    const int top = std::clamp(bounds.top(), target.top(), target.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}
