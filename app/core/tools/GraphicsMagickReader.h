#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

// The GraphicsMagick reader: a module of its own (libquirelle-graphicsmagick.so, built beside
// the program), which LoadPicture loads the first time it reads a picture with GraphicsMagick,
// so that GraphicsMagick and the libraries of its coders load with it and not at every start.
// The module exports the one function below by that name.

enum class MagickReading { Read, NoReader, Invalid, TooLarge };

// Reads the picture held in `bytes` with the named coder (nullptr: none, hence no reader) into
// `image` as Format_ARGB32; a picture of more than `maxPixels` pixels is Invalid, one whose
// image cannot be allocated TooLarge. Never throws.
using ReadWithGraphicsMagickFunction = MagickReading (*)(const char *coder, const char *bytes,
                                                         std::size_t size, std::uint64_t maxPixels,
                                                         QImage &image);

inline constexpr const char *GraphicsMagickModuleName = "libquirelle-graphicsmagick.so";
inline constexpr const char *ReadWithGraphicsMagickSymbol = "QuirelleReadWithGraphicsMagick";
