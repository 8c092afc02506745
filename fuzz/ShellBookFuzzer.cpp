// The shell library's reading of a book file, the input: the cover test, the page count, the
// info tip and the thumbnail.
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
    std::optional<shellext::BookPages> pages;
    try {
        pages = shellext::CountBookPages(stream);
    } catch (const BookFormatError &) {
    }
    if (pages) {
        std::int32_t records = 0;
        try {
            records = ReadBookRecord(stream, nullptr, INT32_MAX);
        } catch (const BookFormatError &) {
            FuzzFault("the record chain of a counted book cannot be walked again");
        }
        if (pages->count < 0 || pages->count + (pages->HasMetaRecord ? 1 : 0) != records)
            FuzzFault("the page count does not match the record chain");
    }

    if (shellext::BuildInfoTip(book.string()).empty())
        FuzzFault("an empty info tip");
    platform::Raster thumbnail(96, 96);
    shellext::DrawFirstPage(book.string(), thumbnail);
}
