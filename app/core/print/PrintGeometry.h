#pragma once

#include <QSize>
#include <QString>

#include <cstdint>
#include <utility>

// The device values of a printer as the print code reads them (the names of GetDeviceCaps):
// the printable area in dots and in millimetres, the resolution across and down, the whole
// paper in dots and the unprintable left and top edges in dots.
struct PrinterGeometry {
    std::int32_t HorzRes = 0, VertRes = 0;
    std::int32_t HorzSize = 0, VertSize = 0;
    std::int32_t LogPixelsX = 0, LogPixelsY = 0;
    std::int32_t PhysicalWidth = 0, PhysicalHeight = 0;
    std::int32_t PhysicalOffsetX = 0, PhysicalOffsetY = 0;

    // Every size the computations divide by is positive.
    bool isUsable() const;
    bool operator==(const PrinterGeometry &) const = default;
};

// A rectangle on the printer's canvas, in dots, GDI style: right and bottom lie outside it.
struct PrintRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PrintRect &) const = default;
};

struct DotsPerMm {
    long double x = 0, y = 0;
};

// The three values of the margins dialog, in millimetres.
struct MarginsMm {
    std::int32_t Haut = 0, Gauche = 0, Milieu = 0;
};

struct MarginDots {
    std::int32_t top = 0, left = 0, middle = 0;
};

// Nearest integer, halves to even, of which the low 32 bits are kept.
std::int32_t Nearest(long double x);

DotsPerMm PrinterDotsPerMm(const PrinterGeometry &printer);

// The smallest top and left margins in whole millimetres: the wider unprintable edge of each
// direction. Only Haut and Gauche are set.
MarginsMm MarginMinima(const PrinterGeometry &printer, DotsPerMm dpm);

MarginDots ToDots(const MarginsMm &margins, DotsPerMm dpm);

// The largest page image, in printer dots, that one page position can fill: the values shown
// as "X : " and "Y : " in the margins dialog. layout is "A5" for two pages per side.
QSize RecommendedImageSize(const PrinterGeometry &printer, DotsPerMm dpm, const MarginsMm &margins,
                           const QString &layout);

// The width and height in dots that one page position can fill, the margins first made whole
// numbers of dots: inside the margins (A4), or half of what the margins and the gap leave (A5).
QSize PrintArea(const PrinterGeometry &printer, DotsPerMm dpm, const MarginsMm &margins, bool a5);

// Rectangles on the printer's canvas (origin at the printable area) into which a page of
// pageSize pixels is stretched, keeping the proportions of that page.
PrintRect A4PrintRect(const PrinterGeometry &printer, DotsPerMm dpm, const MarginsMm &margins,
                      const MarginDots &dots, QSize pageSize);
std::pair<PrintRect, PrintRect> A5PrintRects(const PrinterGeometry &printer, DotsPerMm dpm,
                                             const MarginsMm &margins, const MarginDots &dots,
                                             QSize pageSize);
