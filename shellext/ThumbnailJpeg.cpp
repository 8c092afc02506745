#include "shellext/ThumbnailJpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace shellext {

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

// libjpeg's data source over a span of a stream; the span's end reads as an end-of-image
// marker, as libjpeg's own file source does at the end of a file.
struct StreamSource {
    jpeg_source_mgr manager; // first: libjpeg sees the source through it
    std::istream *stream;
    std::int64_t remaining;
    std::vector<JOCTET> buffer;
};

StreamSource &sourceOf(j_decompress_ptr info)
{
    return *reinterpret_cast<StreamSource *>(info->src);
}

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr info)
{
    StreamSource &source = sourceOf(info);
    std::streamsize count = 0;
    if (source.remaining > 0) {
        const auto wanted = static_cast<std::streamsize>(std::min<std::int64_t>(
            source.remaining, static_cast<std::int64_t>(source.buffer.size())));
        source.stream->read(reinterpret_cast<char *>(source.buffer.data()), wanted);
        count = source.stream->gcount();
        source.remaining = count > 0 ? source.remaining - count : 0;
    }
    if (count <= 0) {
        WARNMS(info, JWRN_JPEG_EOF);
        source.buffer[0] = 0xFF;
        source.buffer[1] = JPEG_EOI;
        count = 2;
    }
    source.manager.next_input_byte = source.buffer.data();
    source.manager.bytes_in_buffer = static_cast<std::size_t>(count);
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr &manager = sourceOf(info).manager;
    while (count > static_cast<long>(manager.bytes_in_buffer)) {
        count -= static_cast<long>(manager.bytes_in_buffer);
        fillInputBuffer(info);
    }
    manager.next_input_byte += count;
    manager.bytes_in_buffer -= static_cast<std::size_t>(count);
}

// CMYK rows as libjpeg gives them, to B, G, R, 0xFF; pictures with an Adobe marker store the
// inks inverted.
void cmykRowToBgra(const JSAMPLE *cmyk, std::uint8_t *out, std::size_t width, bool inverted)
{
    for (std::size_t x = 0; x < width; ++x, cmyk += 4, out += 4) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int i = 0; i < 3; ++i)
            out[2 - i] =
                static_cast<std::uint8_t>((inverted ? cmyk[i] : 255u - cmyk[i]) * k / 255u);
        out[3] = 0xFF;
    }
}

} // namespace

struct JpegRecordDecoder::State {
    ErrorManager errors{};
    jpeg_decompress_struct info{};
    StreamSource source{};

    ~State() { jpeg_destroy_decompress(&info); }

    // Runs libjpeg calls; an error inside them jumps back here and is thrown as JpegError.
    // The calls must not own objects with destructors, since the jump skips their frames.
    template <typename Calls> void guarded(Calls &&calls)
    {
        if (setjmp(errors.jump))
            throw jpeg::JpegError(errors.library.msg_code);
        calls();
    }
};

JpegRecordDecoder::JpegRecordDecoder(std::istream &stream, std::int64_t offset, std::int64_t length)
    : state_(std::make_unique<State>())
{
    State &state = *state_;
    state.info.err = jpeg_std_error(&state.errors.library);
    state.errors.library.error_exit = jumpOut;
    state.errors.library.output_message = ignoreOutput;
    state.errors.library.emit_message = ignoreMessage;
    state.guarded([&] { jpeg_create_decompress(&state.info); });
    state.info.mem->max_memory_to_use = MaxDecoderMemory;

    stream.clear();
    stream.seekg(offset);
    state.source.stream = &stream;
    state.source.remaining = stream ? length : 0;
    state.source.buffer.resize(64 * 1024);
    state.source.manager.init_source = initSource;
    state.source.manager.fill_input_buffer = fillInputBuffer;
    state.source.manager.skip_input_data = skipInputData;
    state.source.manager.resync_to_restart = jpeg_resync_to_restart;
    state.source.manager.term_source = termSource;
    state.info.src = &state.source.manager;
    state.guarded([&] { jpeg_read_header(&state.info, TRUE); });
}

JpegRecordDecoder::~JpegRecordDecoder() = default;

jpeg::Dimensions JpegRecordDecoder::size() const
{
    return {static_cast<int>(state_->info.image_width),
            static_cast<int>(state_->info.image_height)};
}

platform::Raster JpegRecordDecoder::decode(jpeg::Dimensions wanted)
{
    State &state = *state_;
    jpeg_decompress_struct &info = state.info;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    info.dct_method = JDCT_IFAST;
    info.scale_denom = 8;
    for (unsigned eighths = 1; eighths <= 8; ++eighths) {
        info.scale_num = eighths;
        state.guarded([&] { jpeg_calc_output_dimensions(&info); });
        if (info.output_width >= static_cast<JDIMENSION>(std::max(wanted.width, 0)) &&
            info.output_height >= static_cast<JDIMENSION>(std::max(wanted.height, 0)))
            break;
    }
    if (std::uint64_t{info.output_width} * info.output_height > MaxDecodedPixels)
        throw jpeg::JpegError(JERR_IMAGE_TOO_BIG);

    state.guarded([&] { jpeg_start_decompress(&info); });
    platform::Raster picture(static_cast<int>(info.output_width),
                             static_cast<int>(info.output_height));
    std::vector<JSAMPLE> cmykRow(cmyk ? std::size_t{info.output_width} * 4 : 0);
    const bool inverted = info.saw_Adobe_marker;
    state.guarded([&] {
        while (info.output_scanline < info.output_height) {
            std::uint8_t *target = picture.row(static_cast<int>(info.output_scanline));
            JSAMPROW row = cmyk ? cmykRow.data() : target;
            if (jpeg_read_scanlines(&info, &row, 1) != 1)
                break;
            if (cmyk)
                cmykRowToBgra(cmykRow.data(), target, info.output_width, inverted);
        }
    });
    return picture;
}

} // namespace shellext
