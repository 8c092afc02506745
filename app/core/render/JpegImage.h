#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <span>

// The size a picture is wanted at, given its full size.
using WantedPictureSize = std::function<QSize(QSize full)>;

// JPEG pictures decoded with the accurate transform, as QImage::Format_RGB32: at full scale,
// or, with a wanted size, at the smallest of libjpeg's scales M/8 whose picture is not below
// wanted(full size). Errors are those of jpeg::Decode and jpeg::DecodeFile; std::bad_alloc
// when the image cannot be held.
QImage DecodeJpegImage(std::span<const std::uint8_t> data, const WantedPictureSize &wanted = {});
QImage DecodeJpegImageFile(const QString &path, const WantedPictureSize &wanted = {});
