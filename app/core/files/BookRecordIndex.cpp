#include "app/core/files/BookRecordIndex.h"

BookRecordIndex::BookRecordIndex(std::istream &stream)
    : stream_(&stream), records_(IndexBookRecords(stream))
{
}

bool BookRecordIndex::read(std::istream &stream, std::int32_t k, Bytes &destination) const
{
    if (!serves(&stream))
        return ReadBookRecord(stream, &destination, k) == -1;
    if (k < 0 || static_cast<std::size_t>(k) >= records_.size())
        return false;
    ReadIndexedRecord(stream, records_[static_cast<std::size_t>(k)], destination);
    return true;
}
