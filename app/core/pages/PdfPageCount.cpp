#include "app/core/pages/PdfPageCount.h"

#include <QFile>

#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

bool PdfScanner::seek(std::int64_t position)
{
    pos_ = position;
    return inData(position);
}

void PdfScanner::skipBlanks()
{
    while (inData(pos_) && static_cast<unsigned char>(at(pos_)) < 33)
        ++pos_;
}

void PdfScanner::skipToNextLine()
{
    auto lineEnd = [this] { return at(pos_) == '\r' || at(pos_) == '\n'; };
    while (inData(pos_) && !lineEnd())
        ++pos_;
    while (inData(pos_) && lineEnd())
        ++pos_;
}

bool PdfScanner::atDigit() const
{
    return inData(pos_) && at(pos_) >= '0' && at(pos_) <= '9';
}

bool PdfScanner::PdfReadInt(std::int32_t &value)
{
    skipBlanks();
    const std::int64_t start = pos_;
    std::int64_t number = 0;
    for (; atDigit(); ++pos_) {
        number = number * 10 + (at(pos_) - '0');
        if (number > std::numeric_limits<std::int32_t>::max())
            throw std::overflow_error("PDF number too large");
    }
    if (pos_ == start)
        return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

bool PdfScanner::PdfMatchToken(std::string_view token)
{
    const auto length = static_cast<std::int64_t>(token.size());
    const bool match = pos_ >= 0 && pos_ + length <= data_.size() &&
                       std::memcmp(data_.data() + pos_, token.data(), token.size()) == 0;
    pos_ += length;
    return match;
}

bool PdfScanner::PdfFindKey(std::string_view key)
{
    int depth = 0;
    for (;;) {
        while (inData(pos_) && at(pos_) != '<' && at(pos_) != '>' && at(pos_) != key.front())
            ++pos_;
        if (!inData(pos_))
            return false;
        const char ch = at(pos_);
        const bool doubled = inData(pos_ + 1) && at(pos_ + 1) == ch;
        if (ch == '<') {
            if (doubled) {
                ++depth;
                ++pos_;
            }
        } else if (ch == '>') {
            if (doubled) {
                ++pos_;
                if (--depth <= 0)
                    return false;
            }
        } else if (depth < 2 && PdfMatchToken(key)) {
            return true;
        }
        ++pos_;
    }
}

namespace {

// Object number to byte offset, newest cross-reference section first.
class OffsetTable {
public:
    void add(std::int64_t object, std::int32_t offset) { entries_.emplace_back(object, offset); }
    std::optional<std::int32_t> find(std::int32_t object) const
    {
        for (const auto &[number, offset] : entries_)
            if (number == object)
                return offset;
        return std::nullopt;
    }
    std::size_t size() const { return entries_.size(); }

private:
    std::vector<std::pair<std::int64_t, std::int32_t>> entries_;
};

std::optional<std::int64_t> findStartXref(QByteArrayView data)
{
    static constexpr std::string_view keyword = "startxref";
    const auto last = static_cast<std::int64_t>(keyword.size()) - 1;
    for (std::int64_t i = data.size() - 5; i >= last; --i)
        if (data[i] == 'f' &&
            std::memcmp(data.data() + i - last, keyword.data(), keyword.size()) == 0)
            return i + 1;
    return std::nullopt;
}

// Reads one cross-reference section (its subsections and "trailer") into table.
bool readXrefSection(PdfScanner &scanner, OffsetTable &table)
{
    do {
        std::int32_t first = 0;
        std::int32_t count = 0;
        if (!scanner.PdfReadInt(first) || !scanner.PdfReadInt(count))
            return false;
        scanner.skipBlanks();
        for (std::int32_t j = 0; j < count; ++j) {
            std::int32_t offset = 0;
            if (!scanner.PdfReadInt(offset))
                return false;
            table.add(std::int64_t{first} + j, offset);
            scanner.skipToNextLine();
        }
    } while (scanner.atDigit());
    return scanner.PdfMatchToken("trailer");
}

// Puts the scanner at object's header and checks that the header opens with its number.
bool gotoObject(PdfScanner &scanner, const OffsetTable &table, std::int32_t object)
{
    const std::optional<std::int32_t> offset = table.find(object);
    std::int32_t number = -1;
    return offset && scanner.seek(*offset) && scanner.PdfReadInt(number) && number == object;
}

std::int32_t countPages(QByteArrayView data)
{
    PdfScanner scanner(data);
    const std::optional<std::int64_t> afterStartXref = findStartXref(data);
    std::int32_t xref = 0;
    if (!afterStartXref || !scanner.seek(*afterStartXref) || !scanner.PdfReadInt(xref))
        return -1;

    OffsetTable table;
    std::set<std::int32_t> sectionsRead; // a /Prev chain that loops back fails
    std::int32_t root = -1;
    for (;;) {
        if (!sectionsRead.insert(xref).second || !scanner.seek(xref))
            return -1;
        scanner.seek(std::int64_t{xref} + 4); // over the keyword "xref", unchecked
        if (!readXrefSection(scanner, table))
            return -1;
        const std::int64_t trailer = scanner.position();
        if (root == -1 && scanner.PdfFindKey("/Root") && !scanner.PdfReadInt(root))
            return -1;
        scanner.seek(trailer);
        if (!scanner.PdfFindKey("/Prev"))
            break;
        if (!scanner.PdfReadInt(xref))
            return -1;
    }

    std::int32_t pageTree = 0;
    std::int32_t count = 0;
    if (root < 0 || !gotoObject(scanner, table, root) || !scanner.PdfFindKey("/Pages") ||
        !scanner.PdfReadInt(pageTree) || !gotoObject(scanner, table, pageTree) ||
        !scanner.PdfFindKey("/Count") || !scanner.PdfReadInt(count))
        return -1;

    std::int32_t generation = 0;
    if (scanner.PdfReadInt(generation) && scanner.PdfMatchToken(" R")) {
        std::int32_t number = 0;
        const std::optional<std::int32_t> offset = table.find(count);
        if (!offset || !scanner.seek(*offset) || !scanner.PdfReadInt(number) ||
            !scanner.PdfReadInt(generation) || !scanner.PdfMatchToken(" obj") ||
            !scanner.PdfReadInt(count))
            return -1;
    }
    // Every page is an object of its own: a larger count cannot be true.
    if (static_cast<std::size_t>(count) > table.size())
        return -1;
    return count;
}

// Busy cursor for the lifetime of the object; the default cursor afterwards in every case.
class BusyCursor {
public:
    explicit BusyCursor(UiHooks &ui) : ui_(ui)
    {
        ui_.setBusyCursor(true);
        ui_.processPendingEvents();
    }
    ~BusyCursor() { ui_.setBusyCursor(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    UiHooks &ui_;
};

} // namespace

std::int32_t CountPdfPagesIn(QByteArrayView data)
{
    try {
        return countPages(data);
    } catch (const std::overflow_error &) { // a number too large for the scanner
        return -1;
    }
}

std::int32_t CountPdfPages(const QString &fileName, UiHooks &ui)
{
    const BusyCursor busy(ui);
    try {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray data = file.readAll();
        if (data.size() != file.size())
            return -1;
        return CountPdfPagesIn(data);
    } catch (const std::bad_alloc &) { // a file larger than the memory left
        return -1;
    }
}
