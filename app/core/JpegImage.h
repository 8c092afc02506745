#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <span>

// JPEG pictures decoded at full scale with the accurate transform, as QImage::Format_RGB32.
// Errors are those of jpeg::Decode and jpeg::DecodeFile; std::bad_alloc when the image
// cannot be held.
QImage DecodeJpegImage(std::span<const std::uint8_t> data);
QImage DecodeJpegImageFile(const QString &path);
