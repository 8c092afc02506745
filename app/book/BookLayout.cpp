#include "app/book/BookLayout.h"

#include "app/book/RecordChain.h"

#include <algorithm>
#include <stdexcept>

BookLayout BookLayout::Read(std::istream &stream, const RecordSight &sight)
{
    BookLayout layout;
    bookchain::BlockReader reader(stream);
    bookchain::WalkRecordChain(reader, sight ? WholeRecordLimit : 0,
                               [&](std::int32_t index, std::int32_t count, const BookRecord &record,
                                   std::span<const std::uint8_t> bytes) {
                                   layout.add(record, count);
                                   if (sight && !bytes.empty())
                                       sight(index, bytes);
                                   return true;
                               });
    if (layout.count_ > 0) {
        const BookRecord last = layout.record(layout.count_ - 1);
        layout.hasMetaRecord_ = last.length == 0 || reader.at(last.offset, 1)[0] != 0xFF;
    }
    return layout;
}

void BookLayout::add(const BookRecord &first, std::int32_t count)
{
    if (runs_.empty() || runs_.back().length != first.length)
        runs_.push_back({first.offset, static_cast<std::int32_t>(first.length), count_});
    count_ += count;
}

BookRecord BookLayout::record(std::int32_t index) const
{
    if (index < 0 || index >= count_)
        throw std::out_of_range("no such record in the book");
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), index,
                         [](std::int32_t k, const Run &run) { return k < run.first; });
    const Run &run = *(after - 1);
    return {run.offset + std::int64_t{index - run.first} * (std::int64_t{run.length} + 4),
            run.length};
}

std::optional<BookRecord> BookLayout::metaRecord() const
{
    if (!hasMetaRecord_)
        return std::nullopt;
    return record(count_ - 1);
}
