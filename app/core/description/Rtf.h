#pragma once

#include "app/book/BookFile.h"

#include <cstdint>
#include <span>

class QTextDocument;

// Rich text of descriptions, as RTF, over a QTextDocument. Kept: paragraphs with their
// alignment, line breaks, tabs, and per run the font with its family class, size, colour,
// bold, italic, underline and strike-out. A font shows in the face the system gives its name
// (see DescriptionFont.h). Pictures, objects, fields' instructions and every other destination
// are left out.

// Font sizes in half points that a document may carry: 1 to 1638 points.
constexpr int MinHalfPoints = 2;
constexpr int MaxHalfPoints = 3276;

// Replaces the content of document with rtf. Bytes that do not start with "{\rtf" are plain
// text: UTF-8 when they are valid UTF-8, else Windows-1252. Any input gives a document: the
// reader never fails, and its work and memory grow with the input's length only.
void ReadRtf(std::span<const std::uint8_t> rtf, QTextDocument &document);

// The RTF of document: printable ASCII and CR LF only, so never a NUL nor "%EOF", and it
// ends with CR LF. Reading it back gives a document that writes the same bytes.
Bytes WriteRtf(const QTextDocument &document);
