#pragma once

// The reference for showing a JPEG page: libjpeg alone reading the file and decoding it into
// memory, in this process, as 4-byte BGRA pixels like the program's, with the transform and at
// the scale the program uses. The memory is kept from one call to the next: no call pays for
// mapping fresh memory, which no program needs to. No program can show a page with less work.

#include <filesystem>

namespace bench {

// libjpeg's slow integer transform (its default) or its fast integer one.
enum class Transform { Accurate, Fast };

// Decodes the file at scale eighths/8 (1 to 8); a failure ends the benchmark program.
void DecodeWithLibjpeg(const std::filesystem::path &file, int eighths, Transform transform);

} // namespace bench
