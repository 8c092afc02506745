#include "app/widgets/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

void PictureBox::setPicture(const QImage &picture)
{
    picture_ = picture;
    pictureChanged();
}

void PictureBox::pictureChanged()
{
    scaled_ = QPixmap();
    update();
}

void PictureBox::setStretch(bool stretch)
{
    stretch_ = stretch;
    pictureChanged();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    if (!stretch_) {
        painter.drawImage(0, 0, picture_);
        return;
    }
    if (scaled_.size() != size())
        scaled_ = QPixmap::fromImage(
            picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    painter.drawPixmap(0, 0, scaled_);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    emit mouseMoved(at.x(), at.y());
}
