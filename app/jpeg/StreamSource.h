#pragma once

#include "app/jpeg/Jpeg.h"

#include <cstdint>
#include <cstdio> // before jpeglib.h, which uses FILE
#include <istream>
#include <vector>

#include <jpeglib.h>

namespace jpeg {

// libjpeg's data source over a span of a stream, read in blocks as libjpeg asks for them; the
// span's end reads as an end-of-image marker, as libjpeg's own sources do at the end of their
// data. Must outlive the decompressor it is attached to.
struct StreamSource {
    explicit StreamSource(const StreamSpan &span);
    void attachTo(jpeg_decompress_struct &info);

    jpeg_source_mgr manager{}; // first: libjpeg sees the source through it
    std::istream *stream;
    std::int64_t remaining = 0;
    std::vector<JOCTET> buffer;
};

} // namespace jpeg
