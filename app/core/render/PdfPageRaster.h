#pragma once

#include "app/core/pages/PdfPageSize.h"

#include <QStringList>

// The raster Ghostscript renders a PDF page into: at 200 dpi, or, for a page that would then
// hold more pixels than a page may (jpeg::MaxPixels) or a side longer than a JPEG's, at the
// resolution at which it holds no more. Its size is fixed, so the page is rendered into this
// raster whatever Ghostscript reads in the file.
struct PdfPageRaster {
    double dpi = 200;
    int width = 0;
    int height = 0;
    bool operator==(const PdfPageRaster &) const = default;
};

PdfPageRaster FitPdfPageRaster(const PdfPageSize &page);

// The arguments that give Ghostscript the raster: "-r<dpi>x<dpi>", "-g<width>x<height>" and
// "-dFIXEDMEDIA".
QStringList GhostscriptRasterArguments(const PdfPageRaster &raster);
