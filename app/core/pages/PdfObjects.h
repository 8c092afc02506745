#pragma once

#include "app/core/pages/PdfPageCount.h"

#include <cstdint>
#include <optional>
#include <vector>

// The objects of a PDF file that its classic cross-reference sections list, read through a
// scanner. Where each subsection lies is kept, not its entries: an entry is read where it lies
// when its subsection's lines have the standard 20 bytes, else by reading the subsection's lines
// up to it.
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
    // Entries first .. first + count - 1 of a section, from position entries on; standard when
    // each is a line of 20 bytes, so that an entry is read where it lies.
    struct Subsection {
        std::int64_t entries;
        std::int32_t first;
        std::int32_t count;
        bool standard;
    };

    bool addSection(std::int32_t xref);
    std::optional<std::int32_t> find(std::int32_t object);
    bool inStandardLines(std::int64_t position, std::int32_t count);

    PdfScanner &scanner_;
    std::vector<std::int32_t> sections_;               // newest first
    std::vector<std::vector<Subsection>> subsections_; // by section, those that list entries
    std::int64_t entries_ = 0;
    std::int32_t root_ = -1;
};
