#pragma once

#include "app/core/render/PdfPageRaster.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class OutsidePrograms;
class Prompter;
class UiHooks;

// Ghostscript's JPEG device writes every page into one file, each page a whole JFIF file
// that begins with this marker.
inline constexpr std::string_view JfifStartMarker{"\xFF\xD8\xFF\xE0\x00\x10JFIF", 10};

// The output file is read this much at a time; it is never held whole.
inline constexpr qint64 JpegChunkLimit = 0xF00000;

// Cuts Ghostscript's output file into one file per page, named piecePrefix followed by the
// 0-based page number, and gives their paths in page order. Each piece runs from a page's
// start marker up to the byte before the next page's marker, the last one to the end of the
// file; a page larger than a chunk is written whole. An empty file gives no piece. A file
// that cannot be read raises FileReadError, a piece that cannot be written FileWriteError.
QStringList SplitJpegPages(const QString &output, const QString &piecePrefix,
                           qint64 chunkLimit = JpegChunkLimit);

// Pages first .. last (1-based) of a PDF, which follow each other and are rendered into one
// raster.
struct PdfRasterRun {
    std::int32_t first = 1;
    std::int32_t last = 1;
    PdfPageRaster raster;
    bool operator==(const PdfRasterRun &) const = default;
};

// The runs of pages of one raster, in page order, for pages of these sizes.
std::vector<PdfRasterRun> PdfRasterRuns(const std::vector<PdfPageSize> &pages);

// The console program's arguments that render the pages of run into the one JPEG file
// output; every page of pdf at 200 dpi when no run is given.
QStringList GhostscriptBookArguments(const QString &pdf, const QString &output,
                                     const std::optional<PdfRasterRun> &run = std::nullopt);

// The wait display shows one of these frames at a time, the next one at every poll.
inline constexpr int WaitFrameCount = 12;

struct PdfToBookEnv {
    Prompter &prompter;
    UiHooks &ui;
    OutsidePrograms &programs;
    QString ghostscriptDir;
    std::function<void(int frame)> showWaitFrame;       // 0 .. WaitFrameCount - 1
    std::function<bool()> keepWaiting;                  // false: stop, the window is gone
    std::function<std::optional<QString>()> chooseBook; // the save dialog; nothing: cancelled
};

// Turns pdf into a book of its pages: the console program renders them into a private
// temporary folder, the output is cut into pages, and they are written as the book chosen
// in the save dialog, with the extension ".bd". When the sizes of the pages can be read from
// the document's page tree, each run of pages of one raster is rendered into it by a run of
// the console program of its own; otherwise every page is rendered at 200 dpi by one run. The
// temporary folder goes on every path. A failure of Ghostscript, or an output without a page, gets
// an error box and no book.
void PdfToBook(const QString &pdf, const PdfToBookEnv &env);
