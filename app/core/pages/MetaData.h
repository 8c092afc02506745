#pragma once

#include "app/book/BookFile.h"
#include "app/core/pages/Numbering.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A metadata line that cannot be read: a count that is not a number, a keyword with no
// count after it, a constraint cut short or out of range.
class DamagedMetaData : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the page list takes from the lines after "%EOF" of a meta record.
struct BookMetaData {
    std::vector<std::string> Md5Texts; // one per image record, in record order
    bool HasPresentation = false;
    bool HasCover = false;
    std::int32_t PremsCount = 0;
    std::int32_t ListePagesCount = 0;
    std::int32_t QuatrsCount = 0;
    std::vector<NumberingConstraint> Constraints; // Key: stored position - 1

    std::int32_t leadCount() const { return int(HasPresentation) + int(HasCover); }
};

// The record's text lines (CR, LF or CR LF end a line; a NUL byte ends the text).
std::vector<std::string> SplitLines(const Bytes &record);

// The metadata from the first line equal to "%EOF"; nullopt when there is none. Throws
// DamagedMetaData on a line that cannot be read, or on counts larger than imageCount
// images allow (at most one constraint per image).
std::optional<BookMetaData> ReadMetaData(const Bytes &record, std::int32_t imageCount);
