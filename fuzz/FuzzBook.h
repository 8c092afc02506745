#pragma once

#include "app/book/BookFile.h"

#include <span>

// The book that the page-list target reads: FuzzBookImageCount small image records, then the
// input as its last record, the meta record. Its seeds are meta records of these images.
inline constexpr int FuzzBookImageCount = 12;

// A record that starts as a JPEG does, different for every index.
Bytes FuzzBookImage(int index);

Bytes FuzzBook(std::span<const std::uint8_t> meta);

// The book that the whole-book target reads: its records are the input cut after every
// end-of-picture marker (0xFF 0xD9), and what follows the last marker, when anything does, is
// the last record, the meta record. A record takes no more bytes than its content, so an
// input of a few kilobytes holds thousands of records. A book written by the program gives
// its own bytes back from the concatenation of its records.
Bytes BookOfRecords(std::span<const std::uint8_t> input);
