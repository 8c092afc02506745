#pragma once

#include "app/text/UserError.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A book file whose record chain cannot be walked: the text is a French message for the user,
// one of the two below.
class BookFormatError : public UserError {
public:
    using UserError::UserError;
};
inline constexpr char CorruptBookMessage[] = "Le fichier n'est pas une bande dessinée valide.";
inline constexpr char BookReadFailedMessage[] =
    "Erreur de lecture du fichier de la bande dessinée.";

// 0-based offset of the leftmost occurrence of pattern that begins at or after the
// 1-based position start and ends within the buffer; -1 when none (or pattern empty).
std::int32_t FindBytes(std::string_view pattern, const std::uint8_t *buffer,
                       std::int32_t bufferLength, std::int32_t start);

// Where one record of the chain lies: [offset, offset + length).
struct BookRecord {
    std::int64_t offset = 0;
    std::int64_t length = 0;
};

// Walks the record chain up to record index: where that record lies, or none when the chain
// holds fewer records. A corrupt chain before it raises BookFormatError.
std::optional<BookRecord> LocateBookRecord(std::istream &stream, std::int32_t index);

// Reads the bytes of a record found by a walk of the same stream into destination.
void ReadIndexedRecord(std::istream &stream, const BookRecord &record, Bytes &destination);

// Reads exactly out.size() bytes at offset; BookFormatError when the stream holds fewer.
void ReadBookBytes(std::istream &stream, std::int64_t offset, std::span<std::uint8_t> out);

// Reads a record found by a walk of the same stream into block, one blockful after the other,
// handing each to take: a record is never wholly in memory. BookFormatError as ReadBookBytes.
void ReadRecordBlocks(std::istream &stream, const BookRecord &record, std::span<std::uint8_t> block,
                      const std::function<void(std::span<const std::uint8_t>)> &take);

// Walks the record chain of a book file. When record index exists its bytes replace the
// contents of *destination (when given) and the result is -1; otherwise the result is the
// number of records and *destination is untouched. index = INT32_MAX counts the records.
// A corrupt chain before record index raises BookFormatError (BookLayout checks it whole).
std::int32_t ReadBookRecord(std::istream &stream, Bytes *destination, std::int32_t index);
