#pragma once

#include "app/core/pages/BookPages.h"
#include "app/core/render/Ghostscript.h"
#include "app/core/render/JpegImage.h"
#include "app/core/render/PdfPageRaster.h"
#include "app/core/seams/Prompter.h"
#include "app/core/seams/UiHooks.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What LoadPageBitmap needs from the window that shows, thumbnails or prints the page.
struct PageRenderEnv {
    Prompter &prompter;
    UiHooks &ui;
    QSize pageControlSize;       // the page image control's current size
    QString programPath;         // the running program's own argument 0
    QString ghostscriptDir = {}; // where the interpreter library is looked up (Ghostscript.h)
};

// The bitmap of one page of the open document; `image` is a PageEntry's Image. A file that
// cannot be read is shown, never thrown; only a fault of the program goes on as an exception.
// - nothing: a blank page of a book file, or a record beyond the end of its chain;
// - a null QImage (0 x 0): a blank page of a PDF document;
// - a white bitmap of the page control's size, after an error box, when CurrentFile is gone;
// - a bitmap showing "Image incorrect" when the page cannot be decoded, or "Manque de
//   mémoire" (after an error box) when memory runs out;
// - otherwise the page: a book file's JPEG record, or the PDF page rendered by Ghostscript
//   into RenderingPath() and decoded from there: at 200 dpi, into the raster that
//   FitPdfPageRaster gives for the page's size, read from the document before it is rendered.
//   A page whose size cannot be read there shows "Image incorrect" without being rendered.
//   Either is read through the open document's descriptor, never from its path.
// A PDF page loads the interpreter library, renders, unloads it and then lets pending window
// messages run once before decoding.
std::optional<QImage> LoadPageBitmap(const BookPages &state, std::int32_t image,
                                     const PageRenderEnv &env);

// A page as LoadPageBitmap gives it, for a thumbnail: a JPEG page (a book's record, a PDF's
// rendering) is decoded at the smallest of libjpeg's scales M/8 whose picture is not below
// wanted(its full size), never decoded whole and then shrunk. pageSize is the page's full
// size; the bitmap's own when it shows no decoded picture. outOfMemory: the bitmap shows
// "Manque de mémoire" and the error box has been shown.
struct PageBitmap {
    std::optional<QImage> bitmap;
    QSize pageSize;
    bool outOfMemory = false;
};
PageBitmap LoadPageThumbnail(const BookPages &state, std::int32_t image, const PageRenderEnv &env,
                             const WantedPictureSize &wanted);

// Where page `page` (0-based) of the PDF document `pdfPath` is rendered: a directory private
// to this process (mode 0700, removed when the process ends), a subdirectory per document
// path, and the document's file name with ".jpg" for its extension, followed by the page.
QString RenderingPath(const QString &pdfPath, std::int32_t page);

// The interpreter's argument vector for rendering one PDF page into raster.
QStringList GhostscriptPageArguments(const QString &programPath, const QString &pdfPath,
                                     std::int32_t page, const QString &renderingPath,
                                     const PdfPageRaster &raster);
