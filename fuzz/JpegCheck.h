#pragma once

#include "app/jpeg/Jpeg.h"
#include "fuzz/Fuzz.h"

// Decodes data; a picture that decodes must have the size its header gives and exactly
// the pixels that size holds.
inline void CheckDecoding(std::span<const std::uint8_t> data, jpeg::Decoding decoding,
                          jpeg::PixelLayout layout)
{
    try {
        const jpeg::Image image = jpeg::Decode(data, decoding, layout);
        const jpeg::Dimensions header = jpeg::ReadDimensions(data);
        if (image.width != header.width || image.height != header.height)
            FuzzFault("the decoded size differs from the header's");
        if (image.pixels.size() != image.bytesPerLine() * static_cast<std::size_t>(image.height))
            FuzzFault("the pixels do not fill the picture");
    } catch (const jpeg::JpegError &) {
    }
}
