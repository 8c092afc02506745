// Full decoding with the fast transform, as the thumbnails are decoded.
#include "app/jpeg/Jpeg.h"
#include "fuzz/JpegCheck.h"

void FuzzInput(std::span<const std::uint8_t> data)
{
    CheckDecoding(data, jpeg::Decoding::Fast, jpeg::PixelLayout::Rgb);
}
