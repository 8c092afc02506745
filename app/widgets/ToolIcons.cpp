#include "app/widgets/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Side = 16;
const QColor Ink(40, 40, 40);

// A letter or two in the icon's middle, in the style asked.
void drawLetters(QPainter &p, const QString &letters, bool bold, bool italic, bool serif)
{
    QFont font(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    font.setPixelSize(13);
    font.setBold(bold);
    font.setItalic(italic);
    p.setFont(font);
    p.setPen(Ink);
    p.drawText(QRect(0, -1, Side, Side - 1), Qt::AlignCenter, letters);
}

// Four lines of text of the given lengths, placed as the alignment puts them.
void drawLines(QPainter &p, Qt::Alignment alignment)
{
    const int lengths[] = {12, 8, 12, 6};
    p.setPen(QPen(Ink, 1));
    for (int i = 0; i < 4; ++i) {
        const int length = lengths[i];
        int left = 2;
        if (alignment & Qt::AlignHCenter)
            left = (Side - length) / 2;
        else if (alignment & Qt::AlignRight)
            left = Side - 2 - length;
        const int y = 3 + i * 3;
        p.drawLine(left, y, left + length - 1, y);
    }
}

void drawPage(QPainter &p, const QRect &page)
{
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawRect(page);
    for (int y = page.top() + 3; y < page.bottom() - 1; y += 2)
        p.drawLine(page.left() + 2, y, page.right() - 2, y);
}

void drawScissors(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink, 1.2));
    p.drawLine(QPointF(4.5, 1), QPointF(10, 10));
    p.drawLine(QPointF(11.5, 1), QPointF(6, 10));
    p.setPen(QPen(QColor(30, 60, 170), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
}

void drawClipboard(QPainter &p)
{
    p.setPen(QColor(90, 60, 20));
    p.setBrush(QColor(190, 140, 70));
    p.drawRect(1, 2, 10, 13);
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(3, 0, 6, 3);
    drawPage(p, QRect(6, 6, 9, 9));
}

void drawUndo(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath curve;
    curve.moveTo(4, 7);
    curve.cubicTo(7, 3, 14, 4, 14, 9);
    curve.cubicTo(14, 12, 11, 14, 8, 14);
    p.setPen(QPen(QColor(30, 60, 170), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    QPainterPath head;
    head.moveTo(1, 7.5);
    head.lineTo(6.5, 2.5);
    head.lineTo(7, 9.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 60, 170));
    p.drawPath(head);
}

void draw(QPainter &p, ToolIcon icon)
{
    switch (icon) {
    case ToolIcon::Bold: drawLetters(p, QStringLiteral("G"), true, false, false); break;
    case ToolIcon::Italic: drawLetters(p, QStringLiteral("I"), true, true, true); break;
    case ToolIcon::Underline:
        drawLetters(p, QStringLiteral("S"), false, false, false);
        p.drawLine(4, 14, 11, 14);
        break;
    case ToolIcon::StrikeOut:
        drawLetters(p, QStringLiteral("ab"), false, false, false);
        p.setPen(QPen(QColor(200, 0, 0), 1));
        p.drawLine(1, 8, 14, 8);
        break;
    case ToolIcon::TextColour:
        drawLetters(p, QStringLiteral("A"), true, false, false);
        p.fillRect(2, 13, 12, 3, QColor(220, 0, 0));
        break;
    case ToolIcon::Font: drawLetters(p, QStringLiteral("Aa"), false, false, true); break;
    case ToolIcon::AlignLeft: drawLines(p, Qt::AlignLeft); break;
    case ToolIcon::AlignCentre: drawLines(p, Qt::AlignHCenter); break;
    case ToolIcon::AlignRight: drawLines(p, Qt::AlignRight); break;
    case ToolIcon::Cut: drawScissors(p); break;
    case ToolIcon::Copy:
        drawPage(p, QRect(1, 1, 9, 10));
        drawPage(p, QRect(6, 5, 9, 10));
        break;
    case ToolIcon::Paste: drawClipboard(p); break;
    case ToolIcon::Undo: drawUndo(p); break;
    }
}

} // namespace

QIcon DrawToolIcon(ToolIcon icon)
{
    QPixmap picture(Side, Side);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        draw(painter, icon);
    }
    return QIcon(picture);
}
