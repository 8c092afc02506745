#include "app/core/render/JpegImage.h"

#include "app/core/render/PictureMemory.h"
#include "app/jpeg/Jpeg.h"

#include <QFile>

#include <filesystem>
#include <optional>

namespace {

// Decodes into memory that the QImage takes over.
template <typename Decode> QImage decodeToQImage(Decode decode)
{
    std::optional<PictureMemory> memory;
    std::size_t bytesPerLine = 0;
    const jpeg::Dimensions size = decode([&](jpeg::Dimensions output, std::size_t perLine) {
        memory.emplace(perLine * static_cast<std::size_t>(output.height));
        bytesPerLine = perLine;
        return memory->pixels();
    });
    return memory->takeImage(size.width, size.height, bytesPerLine);
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
