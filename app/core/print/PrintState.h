#pragma once

#include "app/core/pages/BookPages.h"
#include "app/core/print/PrintGeometry.h"

#include <QString>

#include <cstdint>

// What the print commands work on: the open document's pages and the layout chosen for them.
struct PrintState : BookPages {
    QString PrintLayout; // "A4" or "A5" once a layout was chosen
    long double DotsPerMmX = 0;
    long double DotsPerMmY = 0;
    std::int32_t MarginTopDots = 0;
    std::int32_t MarginLeftDots = 0;
    std::int32_t MarginMiddleDots = 0;
    std::int32_t PrintPageCount = 0;
    PrintRect PrintRect1;
    PrintRect PrintRect2;
};
