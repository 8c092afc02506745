#include "app/core/render/JpegImage.h"

#include "app/jpeg/Jpeg.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>

#include <sys/mman.h>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

// Memory for a picture's pixels, freed with std::free. A large picture gets transparent huge
// pages where the system offers them: mapping fresh memory 4 kB at a time costs more than
// decoding the picture.
std::uint8_t *allocatePixels(std::size_t bytes)
{
    if (bytes < HugePage)
        return static_cast<std::uint8_t *>(std::malloc(std::max<std::size_t>(bytes, 1)));
    const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    void *memory = std::aligned_alloc(HugePage, rounded);
    if (memory)
        ::madvise(memory, rounded, MADV_HUGEPAGE);
    return static_cast<std::uint8_t *>(memory);
}

// Decodes into memory that the QImage takes over.
template <typename Decode> QImage decodeToQImage(Decode decode)
{
    std::unique_ptr<std::uint8_t, decltype(&std::free)> pixels(nullptr, &std::free);
    std::size_t bytesPerLine = 0;
    const jpeg::Dimensions size = decode([&](jpeg::Dimensions output, std::size_t perLine) {
        pixels.reset(allocatePixels(perLine * static_cast<std::size_t>(output.height)));
        if (!pixels)
            throw std::bad_alloc();
        bytesPerLine = perLine;
        return pixels.get();
    });
    QImage image(pixels.get(), size.width, size.height, static_cast<qsizetype>(bytesPerLine),
                 QImage::Format_RGB32, &std::free, pixels.get());
    if (image.isNull())
        throw std::bad_alloc();
    pixels.release();
    return image;
}

jpeg::WantedSize inDimensions(const WantedPictureSize &wanted)
{
    if (!wanted)
        return {};
    return [&wanted](jpeg::Dimensions full) {
        const QSize size = wanted(QSize(full.width, full.height));
        return jpeg::Dimensions{size.width(), size.height()};
    };
}

const jpeg::Decoding Decoding = jpeg::Decoding::Accurate;
const jpeg::PixelLayout Layout = jpeg::PixelLayout::Bgra;

} // namespace

QImage DecodeJpegImage(std::span<const std::uint8_t> data, const WantedPictureSize &wanted)
{
    return decodeToQImage([&](const jpeg::PixelTarget &target) {
        return jpeg::DecodeInto(data, Decoding, Layout, inDimensions(wanted), target);
    });
}

QImage DecodeJpegImageFile(const QString &path, const WantedPictureSize &wanted)
{
    const std::filesystem::path file = QFile::encodeName(path).toStdString();
    return decodeToQImage([&](const jpeg::PixelTarget &target) {
        return jpeg::DecodeFileInto(file, Decoding, Layout, inDimensions(wanted), target);
    });
}
