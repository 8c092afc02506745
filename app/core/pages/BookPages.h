#pragma once

#include "app/core/files/OpenBook.h"
#include "app/core/pages/Numbering.h"
#include "app/core/pages/PageEntry.h"

#include <QString>

#include <cstdint>
#include <vector>

// The open document and its page list: what opening it sets (CountPages, BuildPageList), and
// what showing, printing, describing and extracting its pages read.
struct BookPages {
    QString CurrentFile; // empty: no file open
    OpenBook Book;       // the one shared read stream on CurrentFile
    std::vector<PageEntry> PageList;
    std::vector<NumberingConstraint> BookConstraints;
    std::int32_t PremsCount = 0;
    std::int32_t ListePagesCount = 0;
    std::int32_t QuatrsCount = 0;
    std::int32_t BlankCount = 0;
    std::int32_t LeadCount = 0;
    bool HasPresentation = false;
    bool HasCover = false;
    std::int32_t PageCountCache = -1;

    // What the counting of pages decides for two menu items; the window applies it.
    bool DescriptionMenuVisible = false;   // menu "Description"
    bool DescriptionCommandEnabled = true; // "Ajouter/Remplacer la description..."

    // The record after the last image, where a book keeps its meta record.
    std::int32_t MetaRecordIndex() const { return PageCountCache - BlankCount + LeadCount; }
};
