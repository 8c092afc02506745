#include "app/book/BookFile.h"

#include "app/book/RecordChain.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

void readExactly(std::istream &stream, char *out, std::int64_t count)
{
    if (!stream.read(out, count) || stream.gcount() != count)
        throw BookFormatError(BookReadFailedMessage);
}

void seek(std::istream &stream, std::int64_t position)
{
    if (!stream.seekg(position, std::ios::beg))
        throw BookFormatError(BookReadFailedMessage);
}

// Where a walk of the chain up to record index ended: at that record when the chain holds it,
// otherwise past the count records it holds.
struct WalkEnd {
    std::int32_t count = 0;
    std::optional<BookRecord> found;
};

WalkEnd walkTo(std::istream &stream, std::int32_t index)
{
    WalkEnd end;
    bookchain::BlockReader reader(stream);
    end.count = bookchain::WalkRecordChain(
        reader, 0,
        [&](std::int32_t first, std::int32_t count, const BookRecord &record,
            std::span<const std::uint8_t>) {
            if (index < first || index - first >= count)
                return true;
            end.found = BookRecord{
                record.offset + std::int64_t{index - first} * (record.length + 4), record.length};
            return false;
        });
    return end;
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

std::optional<BookRecord> LocateBookRecord(std::istream &stream, std::int32_t index)
{
    return walkTo(stream, index).found;
}

std::int32_t ReadBookRecord(std::istream &stream, Bytes *destination, std::int32_t index)
{
    const WalkEnd end = walkTo(stream, index);
    if (!end.found)
        return end.count;
    Bytes bytes;
    ReadIndexedRecord(stream, *end.found, bytes);
    if (destination)
        *destination = std::move(bytes);
    return -1;
}
