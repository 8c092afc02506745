#include "app/widgets/GlyphButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

GlyphButton::GlyphButton(const QImage &glyph, QWidget *parent)
    : QAbstractButton(parent), glyph_(glyph)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
}

void GlyphButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    QRect place(QPoint(0, 0), glyph_.size());
    place.moveCenter(rect().center());
    if (isDown())
        place.translate(1, 1);
    if (!isEnabled())
        painter.setOpacity(0.4);
    painter.drawImage(place.topLeft(), glyph_);
}

void GlyphButton::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(event->position().toPoint());
    QAbstractButton::mouseMoveEvent(event);
}
