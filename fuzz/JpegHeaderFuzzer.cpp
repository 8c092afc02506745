// The picture's size read from its header alone.
#include "app/jpeg/Jpeg.h"
#include "fuzz/Fuzz.h"

void FuzzInput(std::span<const std::uint8_t> data)
{
    try {
        const jpeg::Dimensions size = jpeg::ReadDimensions(data);
        if (size.width <= 0 || size.height <= 0)
            FuzzFault("a header read without error gives an empty picture");
    } catch (const jpeg::JpegError &) {
    }
}
