#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

// The tests' picture in the formats the picture table reads.

// 24 x 16, its left half black and its right half white.
QImage TwoTonePicture();
// That picture as the program's JPEG encoder writes it.
std::vector<std::uint8_t> TwoToneJpeg();

// Writes a picture file at the path given.
using PictureMaker = std::function<void(const std::filesystem::path &)>;

// The picture file source converted by GraphicsMagick: options, then "CODER:" + the path.
PictureMaker GmConvert(const std::filesystem::path &source, const QString &coder,
                       const QStringList &options = {});
// The picture saved by Qt in format.
PictureMaker QtSave(const QImage &picture, const char *format);

// Expects the picture to be opaque, dark at the left and light at the right of its middle row.
void ExpectTwoTone(const QImage &picture);
