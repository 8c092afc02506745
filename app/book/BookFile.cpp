#include "app/book/BookFile.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

[[noreturn]] void corrupt()
{
    throw BookFormatError(CorruptBookMessage);
}

void readExactly(std::istream &stream, char *out, std::int64_t count)
{
    if (!stream.read(out, count) || stream.gcount() != count)
        throw BookFormatError(BookReadFailedMessage);
}

std::int32_t readLength(std::istream &stream)
{
    std::array<unsigned char, 4> bytes{};
    readExactly(stream, reinterpret_cast<char *>(bytes.data()), 4);
    const std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                                std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    return static_cast<std::int32_t>(value);
}

void seek(std::istream &stream, std::int64_t position)
{
    if (!stream.seekg(position, std::ios::beg))
        throw BookFormatError(BookReadFailedMessage);
}

// Walks the chain from record 0, calling visit(i, record) for each record reached until it
// returns false. The result says where the walk stopped: at the record visit refused, or past
// the last record (found false, count the number of records).
template <typename Visit> BookRecordLocation walkChain(std::istream &stream, Visit visit)
{
    stream.clear();
    if (!stream.seekg(0, std::ios::end))
        throw BookFormatError(BookReadFailedMessage);
    const std::int64_t size = static_cast<std::int64_t>(stream.tellg());
    if (size < 0)
        throw BookFormatError(BookReadFailedMessage);
    if (size == 0)
        return {};
    if (size < 4)
        corrupt();
    const std::int64_t trailer = size - 4;

    seek(stream, trailer);
    std::int64_t length = readLength(stream);
    if (length < 0 || length > trailer)
        corrupt();

    std::int64_t position = 0;
    std::int32_t i = 0;
    while (position < trailer && visit(i, BookRecord{position, length})) {
        position += length;
        if (position != trailer && position + 4 > trailer)
            corrupt();
        seek(stream, position);
        length = readLength(stream);
        position += 4;
        if (position < trailer && (length < 0 || length > trailer - position))
            corrupt();
        if (position == trailer && length != 0)
            corrupt();
        if (i == std::numeric_limits<std::int32_t>::max())
            corrupt();
        ++i;
    }

    if (position >= trailer)
        return {false, i, 0, 0};
    return {true, i, position, length};
}

} // namespace

std::int32_t FindBytes(std::string_view pattern, const std::uint8_t *buffer,
                       std::int32_t bufferLength, std::int32_t start)
{
    const std::int64_t m = static_cast<std::int64_t>(pattern.size());
    if (m == 0)
        return -1;
    const auto p = [&](std::int64_t j) { return static_cast<std::uint8_t>(pattern[j - 1]); };
    const auto b = [&](std::int64_t k) { return buffer[k - 1]; };

    std::array<std::int64_t, 256> shift;
    shift.fill(m);
    for (std::int64_t j = 1; j < m; ++j)
        shift[p(j)] = m - j;

    const std::uint8_t last = p(m);
    const std::uint8_t first = p(1);
    const std::int64_t half = m / 2;
    const std::uint8_t middle = p(m - half);

    // k is the 1-based position of the window's last byte.
    std::int64_t k = std::max<std::int64_t>(start, 1) + m - 1;
    while (k <= bufferLength) {
        const std::uint8_t atEnd = b(k);
        if (atEnd == last && b(k - m + 1) == first && b(k - half) == middle) {
            std::int64_t j = m;
            while (j > 0 && b(k - m + j) == p(j))
                --j;
            if (j == 0)
                return static_cast<std::int32_t>(k - m);
        }
        k += shift[atEnd];
    }
    return -1;
}

BookRecordLocation LocateBookRecord(std::istream &stream, std::int32_t index)
{
    return walkChain(stream, [index](std::int32_t i, const BookRecord &) { return i != index; });
}

std::vector<BookRecord> IndexBookRecords(std::istream &stream)
{
    std::vector<BookRecord> records;
    walkChain(stream, [&records](std::int32_t, const BookRecord &record) {
        records.push_back(record);
        return true;
    });
    return records;
}

void ReadIndexedRecord(std::istream &stream, const BookRecord &record, Bytes &destination)
{
    Bytes bytes(static_cast<std::size_t>(record.length));
    if (record.length != 0)
        ReadBookBytes(stream, record.offset, bytes);
    destination = std::move(bytes);
}

void ReadBookBytes(std::istream &stream, std::int64_t offset, std::span<std::uint8_t> out)
{
    stream.clear();
    seek(stream, offset);
    readExactly(stream, reinterpret_cast<char *>(out.data()),
                static_cast<std::int64_t>(out.size()));
}

void ReadRecordBlocks(std::istream &stream, const BookRecord &record, std::span<std::uint8_t> block,
                      const std::function<void(std::span<const std::uint8_t>)> &take)
{
    for (std::int64_t done = 0; done < record.length;) {
        const auto count = static_cast<std::size_t>(
            std::min<std::int64_t>(record.length - done, static_cast<std::int64_t>(block.size())));
        ReadBookBytes(stream, record.offset + done, block.first(count));
        take(block.first(count));
        done += static_cast<std::int64_t>(count);
    }
}

std::int32_t ReadBookRecord(std::istream &stream, Bytes *destination, std::int32_t index)
{
    const BookRecordLocation record = LocateBookRecord(stream, index);
    if (!record.found)
        return record.count;
    Bytes bytes;
    ReadIndexedRecord(stream, {record.offset, record.length}, bytes);
    if (destination)
        *destination = std::move(bytes);
    return -1;
}
