#pragma once

#include "app/book/BookFile.h"
#include "app/core/program/MainWindowState.h"

#include <optional>

// The description that a meta record holds: its bytes in front of the first "%EOF", or all
// of them when it has none.
Bytes DescriptionOf(Bytes metaRecord);

// The description of the open book, read from its meta record through state.BookStream: the
// record after the last image (PageCountCache - BlankCount + LeadCount). A book without
// that record has an empty description. A chain that cannot be walked raises
// BookFormatError.

// What the editor loads: DescriptionOf the record.
Bytes DescriptionForEditor(MainWindowState &state);

// What the viewer shows: the bytes up to and including the last "}"; nothing when the
// record holds no "}".
std::optional<Bytes> DescriptionForViewer(MainWindowState &state);
