// The GraphicsMagick module (GraphicsMagickReader.h).
#include "app/core/tools/GraphicsMagickReader.h"

#include <Magick++.h>

#include <exception>
#include <mutex>
#include <new>
#include <string_view>
#include <type_traits>

namespace {

bool GraphicsMagickReads(const char *coder)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { Magick::InitializeMagick(nullptr); });
    if (!coder)
        return false;
    try {
        return Magick::CoderInfo(coder).isReadable();
    } catch (const Magick::Exception &) {
        return false;
    }
}

} // namespace

// Read from memory, so that nothing in the file name is taken for GraphicsMagick syntax.
extern "C" MagickReading QuirelleReadWithGraphicsMagick(const char *coder, const char *bytes,
                                                        std::size_t size, std::uint64_t maxPixels,
                                                        QImage &image)
{
    static_assert(
        std::is_same_v<decltype(&QuirelleReadWithGraphicsMagick), ReadWithGraphicsMagickFunction>);
    if (!GraphicsMagickReads(coder))
        return MagickReading::NoReader;
    try {
        const Magick::Blob blob(bytes, size);
        Magick::Image picture;
        picture.quiet(true);
        picture.magick(coder);
        if (std::string_view(coder) == "PCD")
            picture.subImage(3); // of its several sizes, the base one: 768 x 512
        picture.ping(blob);
        if (std::uint64_t{picture.columns()} * picture.rows() > maxPixels)
            return MagickReading::Invalid;
        picture.read(blob);
        image = QImage(int(picture.columns()), int(picture.rows()), QImage::Format_ARGB32);
        if (image.isNull())
            return MagickReading::TooLarge;
        picture.write(0, 0, picture.columns(), picture.rows(), "BGRA", Magick::CharPixel,
                      image.bits());
        return MagickReading::Read;
    } catch (const std::bad_alloc &) {
        return MagickReading::TooLarge;
    } catch (const std::exception &) { // Magick::Exception among them
        return MagickReading::Invalid;
    }
}
