#pragma once

#include "app/jpeg/Jpeg.h"
#include "fuzz/Fuzz.h"

// What the decoding targets let a picture demand: a sixteenth of the program's pixels and a
// quarter of its memory, so that the largest picture an input may declare decodes in a small
// part of the time fuzz/run.sh gives each input under the sanitizers.
inline constexpr jpeg::Limits FuzzLimits{.picturePixels = jpeg::MaxPixels / 16,
                                         .outputPixels = jpeg::MaxPixels / 16,
                                         .workingMemory = jpeg::MaxWorkingMemory / 4};

// Decodes data; a picture that decodes must have the size its header gives and exactly
// the pixels that size holds.
inline void CheckDecoding(std::span<const std::uint8_t> data, jpeg::Decoding decoding,
                          jpeg::PixelLayout layout)
{
    try {
        jpeg::Image image;
        const jpeg::Dimensions output = jpeg::DecodeInto(
            data, decoding, layout, {},
            [&](jpeg::Dimensions size, std::size_t bytesPerLine) {
                image = {size.width, size.height, layout, {}};
                image.pixels.resize(bytesPerLine * static_cast<std::size_t>(size.height));
                return image.pixels.data();
            },
            FuzzLimits);
        const jpeg::Dimensions header = jpeg::ReadDimensions(data);
        if (output.width != header.width || output.height != header.height ||
            image.width != header.width || image.height != header.height)
            FuzzFault("the decoded size differs from the header's");
        if (image.pixels.size() != image.bytesPerLine() * static_cast<std::size_t>(image.height))
            FuzzFault("the pixels do not fill the picture");
    } catch (const jpeg::JpegError &) {
    }
}
