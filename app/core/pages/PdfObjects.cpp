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

// A cross-reference entry as the format writes it: "nnnnnnnnnn ggggg n" and an end of line,
// 20 bytes.
constexpr std::int64_t EntryLength = 20;

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
    subsections_.emplace_back();
    if (!scanner_.seek(xref))
        return false;
    // The 4 bytes of the keyword "xref" are stepped over unchecked.
    scanner_.seek(std::int64_t{xref} + 4);
    do {
        std::int32_t first = 0;
        std::int32_t count = 0;
        if (!scanner_.PdfReadInt(first) || !scanner_.PdfReadInt(count))
            return false;
        scanner_.skipBlanks();
        if (count > 0)
            subsections_.back().push_back(
                {scanner_.position(), first, count, inStandardLines(scanner_.position(), count)});
        for (std::int32_t j = 0; j < count; ++j) {
            std::int32_t entry = 0;
            if (!scanner_.PdfReadInt(entry))
                return false;
            scanner_.skipToNextLine();
        }
        entries_ += count;
    } while (scanner_.atDigit());
    return scanner_.PdfMatchToken("trailer");
}

// The newest offset listed for object: the entry of the first subsection of the newest section
// that lists it.
std::optional<std::int32_t> PdfObjects::find(std::int32_t object)
{
    for (const std::vector<Subsection> &section : subsections_)
        for (const Subsection &subsection : section) {
            const std::int64_t index = std::int64_t{object} - subsection.first;
            if (index < 0 || index >= subsection.count)
                continue;
            std::int32_t entry = 0;
            if (subsection.standard) {
                scanner_.seek(subsection.entries + EntryLength * index);
            } else {
                scanner_.seek(subsection.entries);
                for (std::int64_t j = 0; j < index; ++j) {
                    if (!scanner_.PdfReadInt(entry))
                        return std::nullopt;
                    scanner_.skipToNextLine();
                }
            }
            if (!scanner_.PdfReadInt(entry))
                return std::nullopt;
            return entry;
        }
    return std::nullopt;
}

// Whether the count entries from position on are lines of EntryLength bytes, as their first
// and last ones are: a lookup then goes straight to its entry.
bool PdfObjects::inStandardLines(std::int64_t position, std::int32_t count)
{
    const auto isEntry = [this](std::int64_t at) {
        for (std::int64_t i = 0; i < EntryLength; ++i) {
            const char c = scanner_.at(at + i);
            const bool digit = c >= '0' && c <= '9';
            const bool fits = i < 10 || (i > 10 && i < 16) ? digit
                              : i == 10 || i == 16         ? c == ' '
                              : i == 17                    ? c == 'n' || c == 'f'
                                                           : c == ' ' || c == '\r' || c == '\n';
            if (!fits)
                return false;
        }
        return true;
    };
    return count > 0 && position >= 0 && position + EntryLength * count <= scanner_.size() &&
           isEntry(position) && isEntry(position + EntryLength * (count - 1));
}
