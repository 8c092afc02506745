#pragma once

#include "app/book/BookFile.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <span>
#include <vector>

// Hands over a record that the walk of the chain read whole: its index and its bytes.
using RecordSight = std::function<void(std::int32_t index, std::span<const std::uint8_t> bytes)>;

// The layout of a book file, from one walk of its record chain: where every record lies,
// whether the last one is the meta record, and how many records are images. The chain is
// read in blocks and a large record is passed over unread, so the walk is quicker than
// reading the file; records of one length that follow each other are held as one run, so a
// chain of empty or equal records costs no memory per record.
class BookLayout {
public:
    BookLayout() = default; // no record

    // Walks the chain of the book in stream once, checking every length as ReadBookRecord
    // does: a corrupt chain raises BookFormatError. When sight is given, it is handed every
    // record of 1 to WholeRecordLimit bytes as the walk reads it, so that its bytes need not
    // be read again.
    static BookLayout Read(std::istream &stream, const RecordSight &sight = {});
    static constexpr std::int64_t WholeRecordLimit = 1 << 20;

    std::int32_t recordCount() const { return count_; }
    // Record index, 0 <= index < recordCount(); std::out_of_range otherwise.
    BookRecord record(std::int32_t index) const;

    // The last record is the meta record unless it starts with 0xFF, as an image does: an
    // empty last record is an empty meta record (no description, no metadata).
    bool hasMetaRecord() const { return hasMetaRecord_; }
    std::int32_t imageCount() const { return count_ - std::int32_t{hasMetaRecord_}; }
    std::optional<BookRecord> metaRecord() const;

private:
    // Records first, first + 1 ... of one length: record first + j lies at
    // offset + j * (length + 4), until the next run's first record.
    struct Run {
        std::int64_t offset;
        std::int32_t length;
        std::int32_t first;
    };
    // count records of first.length bytes from first on, as the walk hands them over; the walk
    // refuses a chain of more records than count_ holds.
    void add(const BookRecord &first, std::int32_t count);

    std::vector<Run> runs_;
    std::int32_t count_ = 0;
    bool hasMetaRecord_ = false;
};
