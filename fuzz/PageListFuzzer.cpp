// The page-list builder over a book whose meta record is the input: counting the pages,
// reading the metadata lines, checking the MD5 texts, numbering and placing blank pages.
#include "fuzz/Fuzz.h"
#include "fuzz/FuzzBook.h"
#include "fuzz/ListPages.h"

void FuzzInput(std::span<const std::uint8_t> data)
{
    ListPagesOf(FuzzBook(data));
}
