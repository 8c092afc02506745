#pragma once

#include "app/book/BookFile.h"

#include <cstdint>
#include <istream>
#include <vector>

// The record chain of the open book, walked once when its pages are counted, so that every
// record is then read without walking the chain again. It serves only the stream it was
// walked on: a stream opened since is read by a walk.
class BookRecordIndex {
public:
    BookRecordIndex() = default;
    // Walks the chain of stream; a corrupt chain raises BookFormatError.
    explicit BookRecordIndex(std::istream &stream);

    bool serves(const std::istream *stream) const { return stream && stream == stream_; }
    const std::vector<BookRecord> &records() const { return records_; }

    // Reads record k of stream into destination, from this index when it serves the stream;
    // false, destination untouched, when the chain holds no record k.
    bool read(std::istream &stream, std::int32_t k, Bytes &destination) const;

private:
    const std::istream *stream_ = nullptr;
    std::vector<BookRecord> records_;
};
