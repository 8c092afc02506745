#pragma once

#include "app/core/pages/PdfPageCount.h"

#include <cstdint>
#include <optional>
#include <vector>

// The objects of a PDF file that its classic cross-reference sections list, read through a
// scanner. The sections are read from where they lie, newest first, whenever an offset is
// looked up, so no table is held.
class PdfObjects {
public:
    explicit PdfObjects(PdfScanner &scanner) : scanner_(scanner) {}

    // Reads the chain of sections from "startxref" on, each once, and the /Root of the newest
    // trailer that has one; false when any of it fails or there is no /Root.
    bool read();
    std::int32_t root() const { return root_; }

    // Entries of every section, each one counted as often as it is listed.
    std::int64_t entryCount() const { return entries_; }

    // Puts the cursor just after the number that opens object's header, which must be that
    // object's number.
    bool gotoObject(std::int32_t object);

    // Reads, at the cursor, a count: a number, or a reference "n g R" to an object that holds
    // it.
    bool readCount(std::int32_t &count);

private:
    bool addSection(std::int32_t xref);
    bool readSection(std::int32_t xref, std::int32_t object, std::optional<std::int32_t> *offset);
    std::optional<std::int32_t> find(std::int32_t object);

    PdfScanner &scanner_;
    std::vector<std::int32_t> sections_;
    std::int64_t entries_ = 0;
    std::int32_t root_ = -1;
};
