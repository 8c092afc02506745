#include "app/core/pages/PdfObjects.h"

#include <algorithm>
#include <string_view>

namespace {

std::optional<std::int64_t> findStartXref(PdfScanner &scanner)
{
    static constexpr std::string_view keyword = "startxref";
    const auto last = static_cast<std::int64_t>(keyword.size()) - 1;
    for (std::int64_t i = scanner.size() - 5; i >= last; --i) {
        if (scanner.at(i) != 'f')
            continue;
        std::int64_t j = 0;
        while (j < last && scanner.at(i - last + j) == keyword[std::size_t(j)])
            ++j;
        if (j == last)
            return i + 1;
    }
    return std::nullopt;
}

} // namespace

bool PdfObjects::read()
{
    const std::optional<std::int64_t> afterStartXref = findStartXref(scanner_);
    std::int32_t xref = 0;
    if (!afterStartXref || !scanner_.seek(*afterStartXref) || !scanner_.PdfReadInt(xref))
        return false;
    for (;;) {
        if (!addSection(xref))
            return false;
        const std::int64_t trailer = scanner_.position();
        if (root_ == -1 && scanner_.PdfFindKey("/Root") && !scanner_.PdfReadInt(root_))
            return false;
        scanner_.seek(trailer);
        if (!scanner_.PdfFindKey("/Prev"))
            break;
        if (!scanner_.PdfReadInt(xref))
            return false;
    }
    return root_ >= 0;
}

bool PdfObjects::gotoObject(std::int32_t object)
{
    const std::optional<std::int32_t> offset = find(object);
    std::int32_t number = -1;
    return offset && scanner_.seek(*offset) && scanner_.PdfReadInt(number) && number == object;
}

bool PdfObjects::readCount(std::int32_t &count)
{
    if (!scanner_.PdfReadInt(count))
        return false;
    std::int32_t generation = 0;
    if (!scanner_.PdfReadInt(generation) || !scanner_.PdfMatchToken(" R"))
        return true;
    std::int32_t number = 0;
    const std::optional<std::int32_t> offset = find(count);
    return offset && scanner_.seek(*offset) && scanner_.PdfReadInt(number) &&
           scanner_.PdfReadInt(generation) && scanner_.PdfMatchToken(" obj") &&
           scanner_.PdfReadInt(count);
}

// Reads the section at xref, its subsections and "trailer", then puts the cursor just past
// "trailer". Reading a section twice fails.
bool PdfObjects::addSection(std::int32_t xref)
{
    if (std::find(sections_.begin(), sections_.end(), xref) != sections_.end())
        return false;
    sections_.push_back(xref);
    return readSection(xref, -1, nullptr);
}

// The newest offset listed for object.
std::optional<std::int32_t> PdfObjects::find(std::int32_t object)
{
    for (const std::int32_t xref : sections_) {
        std::optional<std::int32_t> offset;
        if (readSection(xref, object, &offset) && offset)
            return offset;
    }
    return std::nullopt;
}

// Reads the section at xref, counting its entries, or until the entry of object when offset is
// given; the 4 bytes of the keyword "xref" are stepped over unchecked.
bool PdfObjects::readSection(std::int32_t xref, std::int32_t object,
                             std::optional<std::int32_t> *offset)
{
    if (!scanner_.seek(xref))
        return false;
    scanner_.seek(std::int64_t{xref} + 4);
    do {
        std::int32_t first = 0;
        std::int32_t count = 0;
        if (!scanner_.PdfReadInt(first) || !scanner_.PdfReadInt(count))
            return false;
        scanner_.skipBlanks();
        for (std::int32_t j = 0; j < count; ++j) {
            std::int32_t entry = 0;
            if (!scanner_.PdfReadInt(entry))
                return false;
            if (offset && std::int64_t{first} + j == object) {
                *offset = entry;
                return true;
            }
            scanner_.skipToNextLine();
        }
        if (!offset)
            entries_ += count;
    } while (scanner_.atDigit());
    return scanner_.PdfMatchToken("trailer");
}
