#pragma once

#include "app/text/UserError.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <span>
#include <vector>

// JPEG decoding and encoding over libjpeg, for the program and the shell library. libjpeg
// never prints and never exits: its errors come out as JpegError, its warnings are ignored
// (a truncated file decodes with its missing rows filled by the library).
namespace jpeg {

// Accurate: libjpeg's default slow-integer transform, for pages. Fast: the fast integer
// transform, for thumbnails.
enum class Decoding { Accurate, Fast };

// Rgb: 3 bytes R, G, B per pixel. Bgra: 4 bytes B, G, R, 0xFF per pixel, which is
// QImage::Format_RGB32 on a little-endian machine.
enum class PixelLayout { Rgb, Bgra };

struct Dimensions {
    int width = 0;
    int height = 0;
};

struct Image {
    int width = 0;
    int height = 0;
    PixelLayout layout = PixelLayout::Rgb;
    std::vector<std::uint8_t> pixels; // rows top to bottom, bytesPerLine() each, no padding

    std::size_t bytesPerLine() const;
};

// By default a decoded picture may hold at most this many pixels (128 MiB as Bgra, the default
// allocation limit of Qt's image readers): a header declaring more is refused before anything
// is allocated for it, however little data follows the header.
inline constexpr std::uint64_t MaxPixels = std::uint64_t{1} << 25;

// What libjpeg may allocate beside the picture by default (a progressive picture keeps all of
// its coefficients), and the scans it may read, each of which passes over the whole picture: a
// picture that needs more is refused.
inline constexpr long MaxWorkingMemory = 128L << 20;
inline constexpr int MaxScans = 64;

// The work the scans of a picture may ask for, counted in the coefficients each scan covers:
// one pass over all of them, and WorkPerByte more for each byte of the picture's data. A small
// file that declares a large progressive picture would otherwise have each of its scans pass
// over the whole picture; a blank progressive page asks for less than 1,000 per byte.
inline constexpr std::uint64_t WorkPerByte = 2048;

// What decoding one picture may demand; a picture that needs more is refused with
// JERR_IMAGE_TOO_BIG (pixels, work) or JERR_NO_BACKING_STORE (memory). The defaults bound the
// picture's full size; a caller that shows pictures scaled down may bound the output instead.
struct Limits {
    std::uint64_t picturePixels = MaxPixels; // as the header declares them, checked first
    std::uint64_t outputPixels = MaxPixels;  // at the scale chosen for the wanted size
    long workingMemory = MaxWorkingMemory;
    std::uint64_t workPerByte = WorkPerByte;
};

// "Erreur JPEG #<code>", code being libjpeg's message code.
class JpegError : public UserError {
public:
    explicit JpegError(int messageCode);
    int messageCode() const { return messageCode_; }
    bool outOfMemory() const; // libjpeg could not allocate its working memory

private:
    int messageCode_;
};

// Decodes a whole JPEG picture at full scale; bytes after its end are ignored, so a book
// file decodes as its first image. Grey and CMYK pictures come out as colour. A file that
// cannot be opened or read raises FileReadError.
Image Decode(std::span<const std::uint8_t> data, Decoding decoding, PixelLayout layout);
Image DecodeFile(const std::filesystem::path &path, Decoding decoding, PixelLayout layout);

// The size a picture is wanted at, given its full size from the header.
using WantedSize = std::function<Dimensions(Dimensions full)>;

// Where the pixels of a picture being decoded go: given the output size and the bytes per
// line, memory of the caller's for all the rows, top to bottom.
using PixelTarget = std::function<std::uint8_t *(Dimensions output, std::size_t bytesPerLine)>;

// `length` bytes of a stream from `offset`, such as a record of a book file.
struct StreamSpan {
    std::istream &stream;
    std::int64_t offset = 0;
    std::int64_t length = 0;
};

// Decode and DecodeFile into the caller's memory. With a wanted size the picture is decoded
// at the smallest of libjpeg's DCT scales M/8 (M = 1 .. 8) whose output is at least
// wanted(full size) in both directions, at full scale when none is: a picture shown small is
// decoded small, never decoded whole and then shrunk. Without one, at full scale. Returns
// the output size.
Dimensions DecodeInto(std::span<const std::uint8_t> data, Decoding decoding, PixelLayout layout,
                      const WantedSize &wanted, const PixelTarget &target,
                      const Limits &limits = {});
Dimensions DecodeFileInto(const std::filesystem::path &path, Decoding decoding, PixelLayout layout,
                          const WantedSize &wanted, const PixelTarget &target,
                          const Limits &limits = {});
// The same over a span of a stream, read in blocks as the decoder asks for them, never wholly
// in memory; the span's end reads as the end of the data. Moves the stream position.
Dimensions DecodeStreamInto(const StreamSpan &span, Decoding decoding, PixelLayout layout,
                            const WantedSize &wanted, const PixelTarget &target,
                            const Limits &limits = {});

// The picture's size from its header alone.
Dimensions ReadDimensions(std::span<const std::uint8_t> data);
Dimensions ReadStreamDimensions(const StreamSpan &span);

// Encodes at quality 70 with baseline forced; the result is a complete JFIF file.
std::vector<std::uint8_t> Encode(const Image &image);

} // namespace jpeg
