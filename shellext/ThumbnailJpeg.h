#pragma once

#include "app/jpeg/Jpeg.h"
#include "platform/Raster.h"

#include <cstdint>
#include <istream>
#include <memory>

namespace shellext {

// A decoded thumbnail source holds at most this many pixels (64 MiB): a picture that would
// give more even at libjpeg's smallest scale is refused.
inline constexpr std::uint64_t MaxDecodedPixels = std::uint64_t{1} << 24;
// The most working memory libjpeg may take for one picture (a progressive or multi-scan
// picture keeps all its coefficients); a picture that needs more is refused.
inline constexpr long MaxDecoderMemory = 256L << 20;

// A JPEG picture read from `length` bytes of a stream starting at `offset` (a record of a book
// file), never wholly in memory. The header is read on construction. libjpeg errors come out
// as jpeg::JpegError; warnings are ignored (missing data decodes as grey).
class JpegRecordDecoder {
public:
    JpegRecordDecoder(std::istream &stream, std::int64_t offset, std::int64_t length);
    ~JpegRecordDecoder();
    JpegRecordDecoder(const JpegRecordDecoder &) = delete;
    JpegRecordDecoder &operator=(const JpegRecordDecoder &) = delete;

    // The picture's size from its header.
    jpeg::Dimensions size() const;

    // Decodes once, with the fast integer transform, at the smallest of libjpeg's scales
    // 1/8 .. 8/8 that is at least `wanted` in both directions (full size when none is).
    platform::Raster decode(jpeg::Dimensions wanted);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace shellext
