#pragma once

#include "app/core/print/PrintState.h"
#include "app/core/print/PrintTarget.h"
#include "app/core/seams/Prompter.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The bitmap of one image record (or PDF page) of the open book: nullopt or a null image
// when there is nothing to draw.
using PageLoader = std::function<std::optional<QImage>(std::int32_t image)>;

struct PrintJobEnv {
    Prompter &prompter;
    PrintTarget &target;
    PageLoader loadPage;
};

// One sheet side, as 1-based page numbers: left and right page for A5; for A4 the one page
// in first, and second is 0.
struct SheetSide {
    std::int32_t first = 0, second = 0;
    bool operator==(const SheetSide &) const = default;
};

// The paper path chosen by the questions: the first question answered yes.
enum class PaperPath { FaceUpFaceUp = 1, FaceUpFaceDown = 2, FaceDownFaceUp = 3 };

// The sides of one pass (1 or 2) in print order for a book of pageCount pages, a multiple of
// 4 (A5) or of 2 (A4).
std::vector<SheetSide> SheetSides(PaperPath path, int pass, bool a5, std::int32_t pageCount);

// Draws the pages at 0-based indices first and second of PageList (-1: none; second is used
// for A5 only) into PrintRect1 and PrintRect2 on the target's current page.
void PrintSheet(const PrintState &state, PrintJobEnv &env, std::int32_t first, std::int32_t second);

// Asks for the paper path, then prints the two passes with their messages. A printer error
// aborts the pass it happens in and ends the job with an error box. When the window closes
// during the first pass (the program is ending), the second is not begun.
void RunPrintJob(PrintState &state, PrintJobEnv &env);
