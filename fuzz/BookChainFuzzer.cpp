// The record chain of a book file: counting its records, then reading them back.
#include "app/book/BookFile.h"
#include "fuzz/Fuzz.h"

#include <limits>
#include <sstream>
#include <string>

void FuzzInput(std::span<const std::uint8_t> data)
{
    std::istringstream stream(std::string(data.begin(), data.end()));
    std::int32_t count = 0;
    try {
        count = ReadBookRecord(stream, nullptr, std::numeric_limits<std::int32_t>::max());
    } catch (const BookFormatError &) {
        return;
    }
    // A chain that could be counted is sound to its end: every record reads, inside the file.
    // The first and last few records are enough to tell, and keep long chains quick.
    for (std::int32_t index = 0; index < count; ++index) {
        if (index == 8 && count > 16)
            index = count - 8;
        Bytes record;
        std::int32_t found = 0;
        try {
            found = ReadBookRecord(stream, &record, index);
        } catch (const BookFormatError &) {
            FuzzFault("a record of a counted chain cannot be read");
        }
        if (found != -1)
            FuzzFault("a record of a counted chain is missing");
        if (record.size() + 4 > data.size())
            FuzzFault("a record is longer than the file");
    }
    if (ReadBookRecord(stream, nullptr, count) != count ||
        ReadBookRecord(stream, nullptr, -1) != count)
        FuzzFault("an index outside the chain does not give the record count");
}
