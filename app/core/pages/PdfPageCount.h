#pragma once

#include "app/core/files/OpenBook.h"
#include "app/core/seams/UiHooks.h"

#include <QString>

#include <cstdint>
#include <istream>
#include <string_view>
#include <vector>

// One cursor over the bytes of a PDF file, read from its stream a block at a time, so that a
// scan holds two blocks of a large file in memory, never the file: the one it reads and the
// one it read before, so that an entry of the cross-reference table and the object it leads to
// are not read in turns. No scan ever reads outside
// the bytes: a skip or search that reaches their end fails and a comparison that would pass it
// does not match. A stream that cannot be read throws std::ios_base::failure.
class PdfScanner {
public:
    explicit PdfScanner(std::istream &stream);

    // Skips bytes below 33, then reads a run of decimal digits into value (left unchanged
    // when there is none). A run too large for 32 bits throws std::overflow_error.
    bool PdfReadInt(std::int32_t &value);
    // Compares the bytes at the cursor with token, then steps over token's length anyway.
    bool PdfMatchToken(std::string_view token);
    // Searches forward for key ("/Name") outside nested dictionaries of the dictionary that
    // starts here; fails once that dictionary closes. On success the cursor is past the key.
    bool PdfFindKey(std::string_view key);

    void skipBlanks();
    void skipToNextLine(); // past the next line end and every line end after it
    bool atDigit();
    bool seek(std::int64_t position); // false when position lies outside the data
    std::int64_t position() const { return pos_; }
    std::int64_t size() const { return size_; }

    // The byte at position, which lies in the data.
    char at(std::int64_t position)
    {
        if (position < blockStart_ || position >= blockStart_ + std::int64_t(block_.size()))
            load(position);
        return block_[std::size_t(position - blockStart_)];
    }

private:
    bool inData(std::int64_t position) const { return position >= 0 && position < size_; }
    void load(std::int64_t position);

    std::istream &stream_;
    std::int64_t size_ = 0;
    std::vector<char> block_;
    std::int64_t blockStart_ = 0;
    std::vector<char> other_; // the block read before
    std::int64_t otherStart_ = 0;
    std::int64_t pos_ = 0;
};

// Page count of the PDF file from its classic cross-reference table and its page tree's
// /Count; -1 on any failure, without a message, a count the file is too small to hold pages
// for included. Reads the tail, the cross-reference sections and the objects they lead to,
// never the whole file, in memory that does not grow with the file. Shows the busy cursor
// meanwhile. A failed allocation is passed on as std::bad_alloc.
std::int32_t CountPdfPages(const QString &fileName, UiHooks &ui);
// The same count from the open document's stream, taken once the busy cursor is shown and the
// pending window messages have run; -1 when no document is open then.
std::int32_t CountPdfPages(const OpenBook &document, UiHooks &ui);

// The same count from the bytes of a PDF file read through stream.
std::int32_t CountPdfPagesIn(std::istream &stream);
