#pragma once

#include "app/book/BookLayout.h"
#include "app/jpeg/Jpeg.h"
#include "platform/Raster.h"

#include <cstdint>
#include <istream>
#include <limits>
#include <string>

// Reading of a book file for the shell: the cover test, the thumbnail and the info tip. The
// book is untrusted input: a corrupt chain or picture ends the reading with an error, and no
// picture is ever decoded at a size it merely declares. DrawFirstPage and BuildInfoTip take
// a path (UTF-8) and absorb every failure; the other routines raise theirs.
namespace shellext {

// True when "%Reliure" is found before an end-of-image marker (0xFF 0xD9), scanning windows
// of 1024 bytes from the end of the file backwards in steps of 1000 bytes, the last window
// at offset 0. Reads from the end only as far back as the nearest marker. Moves the stream
// position.
bool HasCoverMarker(std::istream &stream);

// The size in the header of the JPEG picture held by `record`.
jpeg::Dimensions GetJpegSize(std::istream &stream, const BookRecord &record);

// A thumbnail's picture is decoded scaled down whatever its full size, and refused only when
// it would still be over 2^24 pixels (64 MiB) at that scale, or need more than 256 MiB of
// decoder memory (a progressive picture keeps all its coefficients).
inline constexpr jpeg::Limits ThumbnailLimits{.picturePixels =
                                                  std::numeric_limits<std::uint64_t>::max(),
                                              .outputPixels = std::uint64_t{1} << 24,
                                              .workingMemory = 256L << 20};

// Draws the first page (record 1 when the book has a cover marker, else record 0) fitted
// into `bitmap`, or "Erreur de lecture" at its left edge, vertically centred and broken
// between words to fit the width, when the book cannot be read or its picture is over
// `limits`.
void DrawFirstPage(const std::string &fileName, platform::Raster &bitmap,
                   const jpeg::Limits &limits = ThumbnailLimits);

// "Type : Quirelle", the size in megabytes of the file read through stream, the count of image
// records (cover and back covers included) and the size of the first page, one a line;
// "Erreur lors de la lecture" when the first page cannot be read.
std::u16string BuildStandardTip(const BookLayout &layout, std::istream &stream);

// The plain text of the book's description (at most 512 characters and "..."), or the
// standard tip when there is none; "Erreur lors de la lecture" when the book cannot be read.
std::u16string BuildInfoTip(const std::string &fileName);

// "1,5" for 1572864 bytes with a decimal comma: the size in megabytes with one decimal,
// rounded half up.
std::string FormatMegabytes(std::uintmax_t bytes, const std::string &decimalSeparator);

} // namespace shellext
