#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <vector>

// The size of a PDF page as Ghostscript lays it out, in points: its MediaBox, its own or the
// nearest of its page-tree ancestors', times its /UserUnit, turned by its /Rotate; A4 when the
// page tree gives it none, as Ghostscript does.
struct PdfPageSize {
    double width = 0;
    double height = 0;
    bool operator==(const PdfPageSize &) const = default;
};

// The size of page `page` (0-based) of the PDF read through stream, found through the /Kids
// of its page tree from the classic cross-reference table; none when the page or its box
// cannot be read there.
std::optional<PdfPageSize> PdfPageSizeIn(std::istream &stream, std::int32_t page);

// The sizes of every page, in order; none when any cannot be read. The walk of the page tree
// visits no more nodes than the cross-reference table lists, and no more pages than the root
// counts.
std::optional<std::vector<PdfPageSize>> PdfPageSizesIn(std::istream &stream);
