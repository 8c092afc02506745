#include "app/core/render/PdfPageRaster.h"

#include "app/jpeg/Jpeg.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PageDpi = 200;
constexpr double PointsPerInch = 72;
constexpr double LongestSide = 65500; // the longest side libjpeg writes

// Pixels of a side at dpi, rounded as Ghostscript rounds them, and at least one.
double pixels(double points, double dpi)
{
    return std::max(1.0, std::floor(points * dpi / PointsPerInch + 0.5));
}

bool fits(const PdfPageSize &page, double dpi)
{
    const double width = pixels(page.width, dpi);
    const double height = pixels(page.height, dpi);
    return width * height <= double(jpeg::MaxPixels) && std::max(width, height) <= LongestSide;
}

} // namespace

PdfPageRaster FitPdfPageRaster(const PdfPageSize &page)
{
    double dpi = PageDpi;
    if (!fits(page, dpi)) {
        const double area = page.width * page.height;
        dpi = std::min(PointsPerInch * LongestSide / std::max(page.width, page.height),
                       area > 0 ? PointsPerInch * std::sqrt(double(jpeg::MaxPixels) / area) : dpi);
        // Rounding may add a row or a column.
        while (!fits(page, dpi))
            dpi *= 0.9999;
    }
    return {dpi, int(pixels(page.width, dpi)), int(pixels(page.height, dpi))};
}

QStringList GhostscriptRasterArguments(const PdfPageRaster &raster)
{
    const QString dpi = QString::number(raster.dpi, 'g', 8);
    return {"-r" + dpi + 'x' + dpi,
            "-g" + QString::number(raster.width) + 'x' + QString::number(raster.height),
            QStringLiteral("-dFIXEDMEDIA")};
}
