#include "app/widgets/WaitAnimation.h"

#include "app/core/tools/PdfToBook.h"
#include "app/widgets/ClientArea.h"

#include <QPainter>

namespace {

constexpr qreal Side = 112; // of the square the ring is drawn in
const QColor Backing(250, 247, 238);
const QColor Edge(70, 70, 70);
const QColor Ink(31, 59, 115);
const QColor Idle(205, 205, 200);
constexpr int Trail = 3; // fading panels behind the dark one

// The panel's colour in a frame: the dark one, then lighter ones behind it.
QColor panelColour(int panel, int frame)
{
    const int behind = (frame - panel + WaitFrameCount) % WaitFrameCount;
    if (behind > Trail)
        return Idle;
    const qreal weight = 1.0 - qreal(behind) / (Trail + 1);
    return QColor::fromRgbF(Idle.redF() + (Ink.redF() - Idle.redF()) * weight,
                            Idle.greenF() + (Ink.greenF() - Idle.greenF()) * weight,
                            Idle.blueF() + (Ink.blueF() - Idle.blueF()) * weight);
}

} // namespace

WaitAnimation::WaitAnimation(ClientArea *area) : QWidget(area)
{
    setGeometry(area->rect());
    connect(area, &ClientArea::resized, this, [this, area] { setGeometry(area->rect()); });
    show();
    raise();
}

void WaitAnimation::showFrame(int frame)
{
    frame_ = frame;
    update();
}

void WaitAnimation::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);

    painter.setPen(QPen(Edge, 1.5));
    painter.setBrush(Backing);
    painter.drawRoundedRect(QRectF(-Side / 2, -Side / 2, Side, Side), 14, 14);

    // Each panel stands on the ring like a page of a strip, its long side pointing outwards.
    const QRectF panel(-6, -Side * 0.40, 12, 19);
    painter.setPen(QPen(Edge, 1));
    for (int i = 0; i < WaitFrameCount; ++i) {
        painter.save();
        painter.rotate(360.0 * i / WaitFrameCount);
        painter.setBrush(panelColour(i, frame_));
        painter.drawRoundedRect(panel, 2.5, 2.5);
        painter.restore();
    }
}
