#include "app/jpeg/StreamSource.h"

#include <algorithm>

#include <jerror.h>

namespace jpeg {

namespace {

constexpr std::size_t BlockSize = 64 * 1024;

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

} // namespace

StreamSource::StreamSource(const StreamSpan &span) : stream(&span.stream), buffer(BlockSize)
{
    span.stream.clear();
    span.stream.seekg(span.offset);
    remaining = span.stream ? span.length : 0;
    manager.init_source = initSource;
    manager.fill_input_buffer = fillInputBuffer;
    manager.skip_input_data = skipInputData;
    manager.resync_to_restart = jpeg_resync_to_restart;
    manager.term_source = termSource;
}

void StreamSource::attachTo(jpeg_decompress_struct &info)
{
    info.src = &manager;
}

} // namespace jpeg
