#pragma once

#include "app/book/BookFile.h"

#include <span>

// The book that the page-list target reads: FuzzBookImageCount small image records, then the
// input as its last record, the meta record. Its seeds are meta records of these images.
inline constexpr int FuzzBookImageCount = 12;

// A record that starts as a JPEG does, different for every index.
Bytes FuzzBookImage(int index);

Bytes FuzzBook(std::span<const std::uint8_t> meta);
