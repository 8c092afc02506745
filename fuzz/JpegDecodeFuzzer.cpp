// Full decoding with the accurate transform, as the pages are decoded.
#include "app/jpeg/Jpeg.h"
#include "fuzz/JpegCheck.h"

void FuzzInput(std::span<const std::uint8_t> data)
{
    CheckDecoding(data, jpeg::Decoding::Accurate, jpeg::PixelLayout::Bgra);
}
