// The page-list builder over a whole book made of the input's records: many records, tiny
// ones, damaged pictures, MD5 texts that match or not, with any meta record.
#include "fuzz/Fuzz.h"
#include "fuzz/FuzzBook.h"
#include "fuzz/ListPages.h"

void FuzzInput(std::span<const std::uint8_t> data)
{
    ListPagesOf(BookOfRecords(data));
}
