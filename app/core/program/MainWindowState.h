#pragma once

#include "app/core/files/BookRecordIndex.h"
#include "app/core/pages/Numbering.h"
#include "app/core/pages/PageEntry.h"

#include <QString>

#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

struct PrintRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PrintRect &) const = default;
};

// The run-time state of the main window, owned by TForm1 and passed by reference to the
// code that works on the open file.
struct MainWindowState {
    QString CurrentFile;                       // empty: no file open
    std::unique_ptr<std::ifstream> BookStream; // the one shared read stream on CurrentFile
    BookRecordIndex BookRecords;               // BookStream's record chain, walked by CountPages
    std::vector<PageEntry> PageList;
    std::vector<NumberingConstraint> BookConstraints;
    std::int32_t PremsCount = 0;
    std::int32_t ListePagesCount = 0;
    std::int32_t QuatrsCount = 0;
    std::int32_t BlankCount = 0;
    std::int32_t LeadCount = 0;
    bool HasPresentation = false;
    bool HasCover = false;
    std::int32_t CurrentPage = 1;
    std::int32_t PageCountCache = -1;
    std::int32_t PageWidth = 0;
    std::int32_t PageHeight = 0;
    QString PrintLayout; // "A4" or "A5" once a layout was chosen
    long double DotsPerMmX = 0;
    long double DotsPerMmY = 0;
    std::int32_t MarginTopDots = 0;
    std::int32_t MarginLeftDots = 0;
    std::int32_t MarginMiddleDots = 0;
    std::int32_t PrintPageCount = 0;
    PrintRect PrintRect1;
    PrintRect PrintRect2;
    QString GhostscriptDir; // with a trailing separator; empty: none found
    bool FullScreen = false;
    bool KeyHeld = false;
    bool CommandLinePending = true;
    bool FirstPaint = true;
    std::int32_t LastMouseX = 0;
    std::int32_t LastMouseY = 0;

    // What the counting of pages decides for two menu items; the window applies it.
    bool DescriptionMenuVisible = false;   // menu "Description"
    bool DescriptionCommandEnabled = true; // "Ajouter/Remplacer la description..."
};
