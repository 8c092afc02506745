#include "fuzz/FuzzBook.h"

#include <algorithm>
#include <vector>

namespace {

using Record = std::span<const std::uint8_t>;

void appendLength(Bytes &book, std::size_t length)
{
    for (int i = 0; i < 4; ++i)
        book.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
}

// The book layout: record 0 raw, then each further record behind its length, then the
// length of record 0.
Bytes chain(const std::vector<Record> &records)
{
    Bytes book;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0)
            appendLength(book, records[i].size());
        book.insert(book.end(), records[i].begin(), records[i].end());
    }
    if (!records.empty())
        appendLength(book, records[0].size());
    return book;
}

} // namespace

Bytes FuzzBookImage(int index)
{
    return {0xFF, 0xD8, static_cast<std::uint8_t>(index), 0xFF, 0xD9};
}

Bytes FuzzBook(std::span<const std::uint8_t> meta)
{
    std::vector<Bytes> images;
    for (int index = 0; index < FuzzBookImageCount; ++index)
        images.push_back(FuzzBookImage(index));
    std::vector<Record> records(images.begin(), images.end());
    records.push_back(meta);
    return chain(records);
}

Bytes BookOfRecords(std::span<const std::uint8_t> input)
{
    static constexpr std::uint8_t EndOfPicture[] = {0xFF, 0xD9};
    std::vector<Record> records;
    auto begin = input.begin();
    while (begin != input.end()) {
        const auto marker =
            std::search(begin, input.end(), std::begin(EndOfPicture), std::end(EndOfPicture));
        const auto end = marker == input.end() ? marker : marker + 2;
        records.emplace_back(begin, end);
        begin = end;
    }
    return chain(records);
}
