#include "app/core/print/PrintGeometry.h"

#include <algorithm>
#include <cmath>

bool PrinterGeometry::isUsable() const
{
    return HorzRes > 0 && VertRes > 0 && HorzSize > 0 && VertSize > 0 && PhysicalWidth > 0 &&
           PhysicalHeight > 0;
}

std::int32_t Nearest(long double x)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::llrint(x)));
}

DotsPerMm PrinterDotsPerMm(const PrinterGeometry &printer)
{
    return {static_cast<long double>(printer.HorzRes) / printer.HorzSize,
            static_cast<long double>(printer.VertRes) / printer.VertSize};
}

MarginsMm MarginMinima(const PrinterGeometry &p, DotsPerMm dpm)
{
    const long double bottomEdge = p.PhysicalHeight - p.PhysicalOffsetY - p.VertRes;
    const long double rightEdge = p.PhysicalWidth - p.PhysicalOffsetX - p.HorzRes;
    MarginsMm minima;
    minima.Haut = std::max(Nearest(p.PhysicalOffsetY / dpm.y), Nearest(bottomEdge / dpm.y));
    minima.Gauche = std::max(Nearest(p.PhysicalOffsetX / dpm.x), Nearest(rightEdge / dpm.x));
    return minima;
}

MarginDots ToDots(const MarginsMm &m, DotsPerMm dpm)
{
    return {Nearest(m.Haut * dpm.y), Nearest(m.Gauche * dpm.x), Nearest(m.Milieu * dpm.x)};
}

QSize RecommendedImageSize(const PrinterGeometry &p, DotsPerMm dpm, const MarginsMm &m,
                           const QString &layout)
{
    const std::int32_t height = Nearest(p.PhysicalHeight - (2 * m.Haut) * dpm.y);
    if (layout == QLatin1String("A5"))
        return {Nearest((p.PhysicalWidth - (2 * m.Gauche + m.Milieu) * dpm.x) / 2), height};
    return {Nearest(p.PhysicalWidth - (2 * m.Gauche) * dpm.x), height};
}

QSize PrintArea(const PrinterGeometry &p, DotsPerMm dpm, const MarginsMm &m, bool a5)
{
    const std::int32_t height = p.PhysicalHeight - Nearest((2 * m.Haut) * dpm.y);
    if (a5)
        return {(p.PhysicalWidth - Nearest((2 * m.Gauche + m.Milieu) * dpm.x)) / 2, height};
    return {p.PhysicalWidth - Nearest((2 * m.Gauche) * dpm.x), height};
}

PrintRect A4PrintRect(const PrinterGeometry &p, DotsPerMm dpm, const MarginsMm &m,
                      const MarginDots &dots, QSize page)
{
    const QSize area = PrintArea(p, dpm, m, false);
    const std::int32_t W = area.width(), H = area.height();
    const long double sx = static_cast<long double>(page.width()) / W;
    const long double sy = static_cast<long double>(page.height()) / H;
    PrintRect r;
    if (sx >= sy) {
        const long double d = page.height() / sx;
        r.left = dots.left - p.PhysicalOffsetX;
        r.right = r.left + W;
        r.top = Nearest((p.PhysicalHeight - d) / 2) - p.PhysicalOffsetY;
        r.bottom = r.top + Nearest(d);
    } else {
        const long double d = page.width() / sy;
        r.top = dots.top - p.PhysicalOffsetY;
        r.bottom = r.top + H;
        r.left = Nearest((p.PhysicalWidth - d) / 2) - p.PhysicalOffsetX;
        r.right = r.left + Nearest(d);
    }
    return r;
}

std::pair<PrintRect, PrintRect> A5PrintRects(const PrinterGeometry &p, DotsPerMm dpm,
                                             const MarginsMm &m, const MarginDots &dots, QSize page)
{
    const QSize area = PrintArea(p, dpm, m, true);
    const std::int32_t W5 = area.width(), H = area.height();
    const long double sx = static_cast<long double>(page.width()) / W5;
    const long double sy = static_cast<long double>(page.height()) / H;
    PrintRect left, right;
    if (sx >= sy) {
        const long double d = page.height() / sx;
        left.top = right.top = Nearest((p.PhysicalHeight - d) / 2) - p.PhysicalOffsetY;
        left.bottom = right.bottom = left.top + Nearest(d);
        left.left = dots.left - p.PhysicalOffsetX;
        left.right = left.left + W5;
        right.left = left.right + dots.middle;
        right.right = right.left + W5;
    } else {
        const long double d = page.width() / sy;
        const long double halfWidth = p.PhysicalWidth / 2.0L;
        const std::int32_t c = Nearest((halfWidth - d) / 2);
        left.top = right.top = dots.top - p.PhysicalOffsetY;
        left.bottom = right.bottom = left.top + H;
        left.left = c - p.PhysicalOffsetX;
        left.right = left.left + Nearest(d);
        right.left = c + Nearest(halfWidth) - p.PhysicalOffsetX;
        right.right = right.left + Nearest(d);
    }
    return {left, right};
}
