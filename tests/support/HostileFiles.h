#pragma once

#include "app/book/BookFile.h"

#include <cstdint>
#include <filesystem>
#include <string>

// Well-formed books and PDFs that ask much of their readers, at any scale: the tests make
// small ones, the benchmarks large ones.

// count records of 4 bytes, each FF D8 FF D9: count pages that are no pictures.
Bytes TinyRecordBook(int count);

// A JPEG page, then count empty records.
Bytes EmptyRecordBook(int count);

// A file of size zero bytes, sparse where the file system allows: every 4 of them an empty
// record.
void WriteZeroFile(const std::filesystem::path &path, std::int64_t size);

// A page, then two empty records.
Bytes PageAndTwoEmptyRecords();

// pages JPEG pages whose constraints each impose page 9998, each in a numbering kind of its
// own: almost 10,000 pages per image, mostly blank.
Bytes BookImposingLastPages(int pages);

// count tiny pages, each with a constraint of its own (the numbering kind kept, no number
// imposed).
Bytes ConstrainedBook(int count);

// A PDF of one page whose objects come first and whose cross-reference table and trailer
// come after hole zero bytes (sparse where the file system allows).
void WriteSparsePdf(const std::filesystem::path &path, std::int64_t hole);

// A PDF whose cross-reference table lists entries objects, one short line each, and whose
// page tree claims that many pages.
std::string PdfListingEntries(int entries);

// A PDF of one page, whose dictionary holds pageEntries, painted blue over 14,400 points square.
std::string PdfOfOnePage(const std::string &pageEntries);
