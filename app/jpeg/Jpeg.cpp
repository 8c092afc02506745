#include "app/jpeg/Jpeg.h"

#include "app/jpeg/StreamSource.h"
#include "app/text/FileMessages.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

#include <jerror.h>
#include <jpeglib.h>

namespace jpeg {

namespace {

struct ErrorManager {
    jpeg_error_mgr library;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void ignoreOutput(j_common_ptr) {}
void ignoreMessage(j_common_ptr, int) {}

// Runs libjpeg calls; an error inside them jumps back here and is thrown as JpegError. The
// calls must not own objects with destructors, since the jump skips their frames.
template <typename Calls> void guarded(ErrorManager &errors, Calls &&calls)
{
    if (setjmp(errors.jump))
        throw JpegError(errors.library.msg_code);
    calls();
}

// A libjpeg compressor or decompressor whose errors come out as JpegError.
template <typename Info> struct Codec {
    Codec()
    {
        info.err = jpeg_std_error(&errors.library);
        errors.library.error_exit = jumpOut;
        errors.library.output_message = ignoreOutput;
        errors.library.emit_message = ignoreMessage;
        guarded(errors, [&] {
            if constexpr (std::is_same_v<Info, jpeg_decompress_struct>)
                jpeg_create_decompress(&info);
            else
                jpeg_create_compress(&info);
        });
    }
    ~Codec() { jpeg_destroy(reinterpret_cast<j_common_ptr>(&info)); }
    Codec(const Codec &) = delete;
    Codec &operator=(const Codec &) = delete;

    ErrorManager errors{};
    Info info{};
};

using Decompressor = Codec<jpeg_decompress_struct>;
using Compressor = Codec<jpeg_compress_struct>;

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

// Frees the output buffer of jpeg_mem_dest, which libjpeg may have grown meanwhile.
struct OutputBufferFreer {
    unsigned char *&buffer;
    ~OutputBufferFreer() { std::free(buffer); }
};

std::size_t bytesPerPixel(PixelLayout layout)
{
    return layout == PixelLayout::Rgb ? 3 : 4;
}

// CMYK rows as libjpeg gives them; pictures with an Adobe marker store the inks inverted.
void cmykRowToColour(const JSAMPLE *cmyk, std::uint8_t *out, std::size_t width, PixelLayout layout,
                     bool inverted)
{
    for (std::size_t x = 0; x < width; ++x, cmyk += 4) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        unsigned rgb[3];
        for (int i = 0; i < 3; ++i)
            rgb[i] = (inverted ? cmyk[i] : 255u - cmyk[i]) * k / 255u;
        if (layout == PixelLayout::Rgb) {
            *out++ = static_cast<std::uint8_t>(rgb[0]);
            *out++ = static_cast<std::uint8_t>(rgb[1]);
            *out++ = static_cast<std::uint8_t>(rgb[2]);
        } else {
            *out++ = static_cast<std::uint8_t>(rgb[2]);
            *out++ = static_cast<std::uint8_t>(rgb[1]);
            *out++ = static_cast<std::uint8_t>(rgb[0]);
            *out++ = 0xFF;
        }
    }
}

// Follows libjpeg as it reads the picture, each scan of which passes over the whole picture:
// ends the decoding once it reaches too many scans or more work than its data allows.
struct WorkMonitor {
    jpeg_progress_mgr progress{}; // first: libjpeg hands back its address
    std::uint64_t allowed = 0;
    std::uint64_t work = 0; // the coefficients of every scan begun
    int scan = 0;
};

std::uint64_t blocksOf(const jpeg_component_info &component)
{
    return std::uint64_t(component.width_in_blocks) * component.height_in_blocks;
}

void monitorWork(j_common_ptr common)
{
    const auto &info = *reinterpret_cast<j_decompress_ptr>(common);
    auto &monitor = *reinterpret_cast<WorkMonitor *>(info.progress);
    if (info.input_scan_number > MaxScans)
        ERREXIT(common, JERR_BAD_PROGRESSION);
    if (info.input_scan_number == monitor.scan)
        return;
    monitor.scan = info.input_scan_number;
    std::uint64_t blocks = 0;
    for (int i = 0; i < info.comps_in_scan; ++i)
        blocks += blocksOf(*info.cur_comp_info[i]);
    monitor.work += blocks * std::uint64_t(std::max(info.Se - info.Ss + 1, 1));
    if (monitor.work > monitor.allowed)
        ERREXIT(common, JERR_IMAGE_TOO_BIG);
}

// The picture's size from the header of the source attached to the decompressor.
Dimensions readHeader(Decompressor &decompressor)
{
    guarded(decompressor.errors, [&] { jpeg_read_header(&decompressor.info, TRUE); });
    return {static_cast<int>(decompressor.info.image_width),
            static_cast<int>(decompressor.info.image_height)};
}

// Sets the smallest scale M/8 at which the output is at least `wanted`; 8/8 when none is.
// Returns the output size at that scale.
Dimensions chooseScale(Decompressor &decompressor, Dimensions wanted)
{
    jpeg_decompress_struct &info = decompressor.info;
    guarded(decompressor.errors, [&] {
        for (unsigned m = 1; m <= 8; ++m) {
            info.scale_num = m;
            info.scale_denom = 8;
            jpeg_calc_output_dimensions(&info);
            if (info.output_width >= static_cast<JDIMENSION>(std::max(wanted.width, 0)) &&
                info.output_height >= static_cast<JDIMENSION>(std::max(wanted.height, 0)))
                return;
        }
    });
    return {static_cast<int>(info.output_width), static_cast<int>(info.output_height)};
}

std::uint64_t pixelCount(Dimensions size)
{
    return std::uint64_t(size.width) * std::uint64_t(size.height);
}

// Decodes from the source already attached to the decompressor, which holds dataBytes bytes,
// into the target's memory.
Dimensions decodeAttached(Decompressor &decompressor, std::uint64_t dataBytes, Decoding decoding,
                          PixelLayout layout, const WantedSize &wanted, const PixelTarget &target,
                          const Limits &limits)
{
    jpeg_decompress_struct &info = decompressor.info;
    const Dimensions full = readHeader(decompressor);
    if (pixelCount(full) > limits.picturePixels)
        throw JpegError(JERR_IMAGE_TOO_BIG);
    info.mem->max_memory_to_use = limits.workingMemory;
    WorkMonitor monitor;
    monitor.progress.progress_monitor = monitorWork;
    monitor.allowed = limits.workPerByte * dataBytes;
    for (int i = 0; i < info.num_components; ++i)
        monitor.allowed += blocksOf(info.comp_info[i]) * DCTSIZE2;
    info.progress = &monitor.progress;

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : layout == PixelLayout::Rgb ? JCS_RGB : JCS_EXT_BGRA;
    info.dct_method = decoding == Decoding::Fast ? JDCT_IFAST : JDCT_ISLOW;
    const Dimensions scaled = wanted ? chooseScale(decompressor, wanted(full)) : full;
    if (pixelCount(scaled) > limits.outputPixels)
        throw JpegError(JERR_IMAGE_TOO_BIG);
    guarded(decompressor.errors, [&] { jpeg_start_decompress(&info); });

    const Dimensions output{static_cast<int>(info.output_width),
                            static_cast<int>(info.output_height)};
    const std::size_t width = info.output_width;
    const std::size_t bytesPerLine = width * bytesPerPixel(layout);
    std::uint8_t *const pixels = target(output, bytesPerLine);
    std::vector<JSAMPLE> cmykRow(cmyk ? width * 4 : 0);
    const bool inverted = info.saw_Adobe_marker;

    guarded(decompressor.errors, [&] {
        while (info.output_scanline < info.output_height) {
            std::uint8_t *row = pixels + info.output_scanline * bytesPerLine;
            JSAMPROW samples = cmyk ? cmykRow.data() : row;
            if (jpeg_read_scanlines(&info, &samples, 1) != 1) {
                // The target's memory may hold anything: rows not decoded are black.
                std::memset(row, 0, (info.output_height - info.output_scanline) * bytesPerLine);
                break;
            }
            if (cmyk)
                cmykRowToColour(cmykRow.data(), row, width, layout, inverted);
        }
    });
    return output;
}

// A target that holds the pixels in image.
PixelTarget into(Image &image, PixelLayout layout)
{
    return [&image, layout](Dimensions output, std::size_t bytesPerLine) {
        image.width = output.width;
        image.height = output.height;
        image.layout = layout;
        image.pixels.resize(bytesPerLine * static_cast<std::size_t>(output.height));
        return image.pixels.data();
    };
}

} // namespace

std::size_t Image::bytesPerLine() const
{
    return static_cast<std::size_t>(width) * bytesPerPixel(layout);
}

JpegError::JpegError(int messageCode)
    : UserError("Erreur JPEG #" + std::to_string(messageCode)), messageCode_(messageCode)
{
}

bool JpegError::outOfMemory() const
{
    return messageCode_ == JERR_OUT_OF_MEMORY;
}

Dimensions DecodeInto(std::span<const std::uint8_t> data, Decoding decoding, PixelLayout layout,
                      const WantedSize &wanted, const PixelTarget &target, const Limits &limits)
{
    Decompressor decompressor;
    guarded(decompressor.errors,
            [&] { jpeg_mem_src(&decompressor.info, data.data(), data.size()); });
    return decodeAttached(decompressor, data.size(), decoding, layout, wanted, target, limits);
}

Dimensions DecodeFileInto(const std::filesystem::path &path, Decoding decoding, PixelLayout layout,
                          const WantedSize &wanted, const PixelTarget &target, const Limits &limits)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw FileReadError(CannotOpenFileMessage(path.string()));
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    Decompressor decompressor;
    guarded(decompressor.errors, [&] { jpeg_stdio_src(&decompressor.info, file.get()); });
    const Dimensions output =
        decodeAttached(decompressor, error ? 0 : size, decoding, layout, wanted, target, limits);
    if (std::ferror(file.get()))
        throw FileReadError(CannotReadFileMessage(path.string()));
    return output;
}

Dimensions DecodeStreamInto(const StreamSpan &span, Decoding decoding, PixelLayout layout,
                            const WantedSize &wanted, const PixelTarget &target,
                            const Limits &limits)
{
    StreamSource source(span);
    Decompressor decompressor;
    source.attachTo(decompressor.info);
    return decodeAttached(decompressor, std::uint64_t(std::max<std::int64_t>(span.length, 0)),
                          decoding, layout, wanted, target, limits);
}

Image Decode(std::span<const std::uint8_t> data, Decoding decoding, PixelLayout layout)
{
    Image image;
    DecodeInto(data, decoding, layout, {}, into(image, layout));
    return image;
}

Image DecodeFile(const std::filesystem::path &path, Decoding decoding, PixelLayout layout)
{
    Image image;
    DecodeFileInto(path, decoding, layout, {}, into(image, layout));
    return image;
}

Dimensions ReadDimensions(std::span<const std::uint8_t> data)
{
    Decompressor decompressor;
    guarded(decompressor.errors,
            [&] { jpeg_mem_src(&decompressor.info, data.data(), data.size()); });
    return readHeader(decompressor);
}

Dimensions ReadStreamDimensions(const StreamSpan &span)
{
    StreamSource source(span);
    Decompressor decompressor;
    source.attachTo(decompressor.info);
    return readHeader(decompressor);
}

std::vector<std::uint8_t> Encode(const Image &image)
{
    if (image.width < 0 || image.height < 0 ||
        image.pixels.size() != image.bytesPerLine() * static_cast<std::size_t>(image.height))
        throw std::invalid_argument("jpeg::Encode: pixel buffer does not match the size");

    Compressor compressor;
    jpeg_compress_struct &info = compressor.info;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const OutputBufferFreer freer{buffer};
    guarded(compressor.errors, [&] {
        jpeg_mem_dest(&info, &buffer, &size);
        info.image_width = static_cast<JDIMENSION>(image.width);
        info.image_height = static_cast<JDIMENSION>(image.height);
        info.input_components = static_cast<int>(bytesPerPixel(image.layout));
        info.in_color_space = image.layout == PixelLayout::Rgb ? JCS_RGB : JCS_EXT_BGRX;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 70, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            auto row = const_cast<JSAMPROW>(image.pixels.data() +
                                            info.next_scanline * image.bytesPerLine());
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
    });
    return {buffer, buffer + size};
}

} // namespace jpeg
