#include "app/core/description/Description.h"

#include <algorithm>

namespace {

Bytes readRecord(const OpenBook &book, std::int32_t index)
{
    Bytes record;
    book.read(index, record);
    return record;
}

} // namespace

Bytes DescriptionOf(Bytes metaRecord)
{
    const std::int32_t eof =
        FindBytes("%EOF", metaRecord.data(), std::int32_t(metaRecord.size()), 1);
    if (eof >= 0)
        metaRecord.resize(std::size_t(eof));
    return metaRecord;
}

Bytes DescriptionForEditor(const OpenBook &book, std::int32_t metaRecord)
{
    return DescriptionOf(readRecord(book, metaRecord));
}

std::optional<Bytes> DescriptionForViewer(const OpenBook &book, std::int32_t metaRecord)
{
    Bytes record = readRecord(book, metaRecord);
    const auto last = std::find(record.rbegin(), record.rend(), '}');
    if (last == record.rend())
        return std::nullopt;
    record.erase(last.base(), record.end());
    return record;
}
