#pragma once

#include "app/book/BookFile.h"

#include <QColor>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Test fixtures for book files: small real JPEGs, record chains and meta records.

// A baseline JPEG of the given size filled with one colour.
Bytes MakeJpeg(int width, int height, QColor colour = Qt::red);

// The JPEG with the size fields of its frame header replaced: a picture whose header
// declares another size than its data holds.
Bytes WithFrameSize(Bytes jpeg, int width, int height);

// The book layout: record 0 raw, then each further record behind its 32-bit little-endian
// length, then the length of record 0 as the trailer.
Bytes AssembleBook(const std::vector<Bytes> &records);

// The little-endian bytes of a 32-bit value, for hand-made chains.
Bytes LittleEndian32(std::int32_t value);

// A meta record: the description bytes, then every line followed by CR LF.
Bytes MakeMetaRecord(std::string_view description, const std::vector<std::string> &lines);

// "%EOF", "%MD5" and the MD5 text of every image: the lines every meta record starts with.
std::vector<std::string> StandardMetaLines(const std::vector<Bytes> &images);

std::string Md5TextOf(const Bytes &bytes);

Bytes ToBytes(std::string_view text);
void WriteFileBytes(const std::filesystem::path &path, const Bytes &bytes);
Bytes ReadFileBytes(const std::filesystem::path &path);
