#include "app/core/pages/PdfPageCount.h"

#include "app/core/pages/PdfObjects.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

constexpr std::int64_t BlockSize = 64 << 10;

} // namespace

PdfScanner::PdfScanner(std::istream &stream) : stream_(stream)
{
    stream_.clear();
    if (!stream_.seekg(0, std::ios::end))
        throw std::ios_base::failure("PDF file cannot be read");
    size_ = static_cast<std::int64_t>(stream_.tellg());
}

void PdfScanner::load(std::int64_t position)
{
    const bool inOther =
        position >= otherStart_ && position < otherStart_ + std::int64_t(other_.size());
    std::swap(block_, other_);
    std::swap(blockStart_, otherStart_);
    if (inOther)
        return;
    // Scans run forwards, but for the one from the end: a block ends where a backward step
    // came from.
    const bool backwards = position < otherStart_;
    blockStart_ = std::max<std::int64_t>(0, backwards ? position - BlockSize + 1 : position);
    block_.resize(std::size_t(std::min(BlockSize, size_ - blockStart_)));
    stream_.clear();
    if (!stream_.seekg(blockStart_) ||
        !stream_.read(block_.data(), static_cast<std::streamsize>(block_.size())))
        throw std::ios_base::failure("PDF file cannot be read");
}

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

bool PdfScanner::atDigit()
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
    bool match = pos_ >= 0 && pos_ + length <= size_;
    for (std::int64_t i = 0; match && i < length; ++i)
        match = at(pos_ + i) == token[std::size_t(i)];
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

// Every page is an object of its own, with a cross-reference entry of 20 bytes and an object
// of at least a dozen ("n 0 obj" ... "endobj"): a file this many bytes a page too small cannot
// hold its count.
constexpr std::int64_t LeastBytesPerPage = 32;

std::int32_t countPages(std::istream &stream)
{
    PdfScanner scanner(stream);
    PdfObjects objects(scanner);
    std::int32_t pageTree = 0;
    std::int32_t count = 0;
    if (!objects.read() || !objects.gotoObject(objects.root()) || !scanner.PdfFindKey("/Pages") ||
        !scanner.PdfReadInt(pageTree) || !objects.gotoObject(pageTree) ||
        !scanner.PdfFindKey("/Count") || !objects.readCount(count))
        return -1;
    if (count > objects.entryCount() || count > scanner.size() / LeastBytesPerPage)
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

std::int32_t CountPdfPagesIn(std::istream &stream)
{
    try {
        return countPages(stream);
    } catch (const std::overflow_error &) { // a number too large for the scanner
        return -1;
    } catch (const std::ios_base::failure &) { // a file that cannot be read
        return -1;
    }
}

std::int32_t CountPdfPages(const QString &fileName, UiHooks &ui)
{
    const BusyCursor busy(ui);
    const std::filesystem::path path = fileName.toStdString();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return -1;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return -1;
    return CountPdfPagesIn(file);
}

std::int32_t CountPdfPages(const OpenBook &document, UiHooks &ui)
{
    const BusyCursor busy(ui);
    return document.isOpen() ? CountPdfPagesIn(document.stream()) : -1;
}
