#pragma once

#include "app/core/print/PrintState.h"

#include <QString>

#include <cstdint>

// The run-time state of the main window, owned by TForm1 and passed by reference to the code
// that works on the open file; each part of the program takes the part it works on: the
// pages (BookPages) or the pages with their print layout (PrintState).
struct MainWindowState : PrintState {
    std::int32_t CurrentPage = 1;
    std::int32_t PageWidth = 0;
    std::int32_t PageHeight = 0;
    QString GhostscriptDir; // with a trailing separator; empty: none found
    bool FullScreen = false;
    bool KeyHeld = false;
    bool CommandLinePending = true;
    bool FirstPaint = true;
    std::int32_t LastMouseX = 0;
    std::int32_t LastMouseY = 0;
};
