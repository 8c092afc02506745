#pragma once

#include "app/book/BookFile.h"

#include <cstdint>
#include <istream>
#include <limits>
#include <span>
#include <vector>

// The walk of a book's record chain that ReadBookRecord and BookLayout share. The stream is
// read in blocks, so a chain of many small records costs few reads; a large record is passed
// over unread.
namespace bookchain {

// Bytes of one stream, served from blocks read in order.
class BlockReader {
public:
    explicit BlockReader(std::istream &stream);

    std::int64_t size() const { return size_; }

    // The count bytes at position, read when the last block does not hold them all;
    // BookFormatError when the stream holds fewer.
    std::span<const std::uint8_t> at(std::int64_t position, std::size_t count)
    {
        if (position < start_ ||
            position + static_cast<std::int64_t>(count) > start_ + static_cast<std::int64_t>(held_))
            fill(position, count);
        return {buffer_.data() + (position - start_), count};
    }

    // How many 4-byte words of zeros follow each other from position on, the last ending at or
    // before end, among the bytes the last block holds from position on, or else among the
    // next block's.
    std::int64_t zeroWords(std::int64_t position, std::int64_t end);

private:
    static constexpr std::size_t BlockSize = 64 << 10;
    void fill(std::int64_t position, std::size_t count);

    std::istream &stream_;
    std::int64_t size_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::int64_t start_ = 0;
    std::size_t held_ = 0;
};

[[noreturn]] void Corrupt();

// A length field: 32 bits, little-endian, signed.
inline std::int64_t LengthAt(std::span<const std::uint8_t> bytes)
{
    const std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                                std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    return static_cast<std::int32_t>(value);
}

// Walks the chain from record 0, calling visit(first, count, record, bytes) for each record, or
// for each run of empty records that follow each other, until it returns false: the records
// first .. first + count - 1, of record.length bytes, the first at record.offset and each
// empty one 4 bytes behind the one before it. bytes holds the record when it holds 1 to
// wholeUpTo bytes and is empty otherwise. Every length is checked against the bytes left before
// the trailer, and the count of records against what an int32_t counts: a corrupt chain raises
// BookFormatError. An empty file holds no record; a file of 1 to 3 bytes cannot hold its
// trailer. The result is the number of records visit accepted.
template <typename Visit>
std::int32_t WalkRecordChain(BlockReader &reader, std::int64_t wholeUpTo, Visit &&visit)
{
    const std::int64_t size = reader.size();
    if (size == 0)
        return 0;
    if (size < 4)
        Corrupt();
    const std::int64_t trailer = size - 4;
    std::int64_t length = LengthAt(reader.at(trailer, 4));
    if (length < 0 || length > trailer)
        Corrupt();

    constexpr std::int64_t MostRecords = std::numeric_limits<std::int32_t>::max();
    std::int64_t position = 0;
    std::int64_t i = 0;
    while (position < trailer) {
        if (length == 0) {
            // Behind an empty record, a zero length makes the next record empty too: a run of
            // them is counted a block at a time, at the speed of a scan for bytes that are not 0.
            // The run's last record, whose next length is not known to be zero, is walked as
            // any other record.
            const std::int64_t zeros = reader.zeroWords(position, trailer);
            if (zeros > 0) {
                if (zeros > MostRecords - i)
                    Corrupt();
                if (!visit(static_cast<std::int32_t>(i), static_cast<std::int32_t>(zeros),
                           BookRecord{position, 0}, std::span<const std::uint8_t>()))
                    break;
                i += zeros;
                position += 4 * zeros;
                // An empty record in front of the trailer is not counted.
                if (position == trailer)
                    return static_cast<std::int32_t>(i);
                continue;
            }
        }
        if (i == MostRecords)
            Corrupt();
        // The record and the 4 bytes behind it (the next length or the trailer) lie in the
        // file.
        const bool whole = length <= wholeUpTo;
        const std::span<const std::uint8_t> held =
            whole ? reader.at(position, static_cast<std::size_t>(length) + 4)
                  : std::span<const std::uint8_t>();
        if (!visit(static_cast<std::int32_t>(i), 1, BookRecord{position, length},
                   held.first(whole ? static_cast<std::size_t>(length) : 0)))
            break;
        ++i;
        position += length;
        if (position == trailer)
            return static_cast<std::int32_t>(i);
        if (position + 4 > trailer)
            Corrupt();
        length = LengthAt(whole ? held.last(4) : reader.at(position, 4));
        position += 4;
        if (position < trailer && (length < 0 || length > trailer - position))
            Corrupt();
        if (position == trailer && length != 0)
            Corrupt();
    }
    return static_cast<std::int32_t>(i);
}

} // namespace bookchain
