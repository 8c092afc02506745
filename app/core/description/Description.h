#pragma once

#include "app/book/BookFile.h"
#include "app/core/files/OpenBook.h"

#include <cstdint>
#include <optional>

// The description that a meta record holds: its bytes in front of the first "%EOF", or all
// of them when it has none.
Bytes DescriptionOf(Bytes metaRecord);

// The description of the open book, read from its meta record, record metaRecord of the
// chain (see BookPages::MetaRecordIndex). A book without that record has an empty
// description; a book that is not open or whose chain cannot be walked raises
// BookFormatError.

// What the editor loads: DescriptionOf the record.
Bytes DescriptionForEditor(const OpenBook &book, std::int32_t metaRecord);

// What the viewer shows: the bytes up to and including the last "}"; nothing when the
// record holds no "}".
std::optional<Bytes> DescriptionForViewer(const OpenBook &book, std::int32_t metaRecord);
