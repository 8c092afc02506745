// The shell library's reading of a book file, the input: the cover test, the layout, the info
// tip and the thumbnail, whose picture may have a sixteenth of the library's pixels at its
// scale and a quarter of its memory, so that the largest an input may declare decodes quickly.
#include "fuzz/Fuzz.h"
#include "fuzz/FuzzFolder.h"
#include "shellext/User.h"

#include <fstream>
#include <optional>

void FuzzInput(std::span<const std::uint8_t> data)
{
    static const std::filesystem::path book = FuzzFolder() / "livre.bd";
    WriteFuzzFile(book, data);

    std::ifstream stream(book, std::ios::binary);
    try {
        shellext::HasCoverMarker(stream);
    } catch (const BookFormatError &) {
        FuzzFault("the cover test fails on a file that reads");
    }
    std::optional<BookLayout> layout;
    try {
        layout = BookLayout::Read(stream);
    } catch (const BookFormatError &) {
    }
    if (layout) {
        std::int32_t records = 0;
        try {
            records = ReadBookRecord(stream, nullptr, INT32_MAX);
        } catch (const BookFormatError &) {
            FuzzFault("the record chain of a laid out book cannot be walked again");
        }
        if (layout->imageCount() < 0 || layout->recordCount() != records)
            FuzzFault("the layout does not match the record chain");
    }

    if (shellext::BuildInfoTip(book.string()).empty())
        FuzzFault("an empty info tip");
    platform::Raster thumbnail(96, 96);
    jpeg::Limits limits = shellext::ThumbnailLimits;
    limits.outputPixels /= 16;
    limits.workingMemory /= 4;
    shellext::DrawFirstPage(book.string(), thumbnail, limits);
}
