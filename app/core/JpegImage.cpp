#include "app/core/JpegImage.h"

#include "app/jpeg/Jpeg.h"

#include <QFile>

#include <memory>
#include <new>
#include <vector>

namespace {

// Takes the decoded pixels over without copying them.
QImage ToQImage(jpeg::Image decoded)
{
    auto pixels = std::make_unique<std::vector<std::uint8_t>>(std::move(decoded.pixels));
    QImage image(
        pixels->data(), decoded.width, decoded.height,
        static_cast<qsizetype>(decoded.bytesPerLine()), QImage::Format_RGB32,
        [](void *buffer) { delete static_cast<std::vector<std::uint8_t> *>(buffer); },
        pixels.get());
    if (image.isNull())
        throw std::bad_alloc();
    pixels.release();
    return image;
}

} // namespace

QImage DecodeJpegImage(std::span<const std::uint8_t> data)
{
    return ToQImage(jpeg::Decode(data, jpeg::Decoding::Accurate, jpeg::PixelLayout::Bgra));
}

QImage DecodeJpegImageFile(const QString &path)
{
    return ToQImage(jpeg::DecodeFile(QFile::encodeName(path).toStdString(),
                                     jpeg::Decoding::Accurate, jpeg::PixelLayout::Bgra));
}
