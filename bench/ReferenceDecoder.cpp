#include "bench/ReferenceDecoder.h"

#include <algorithm>
#include <cstdio> // before jpeglib.h, which uses FILE
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <vector>

#include <jpeglib.h>

namespace bench {

namespace {

// libjpeg's errors end the program: the reference decodes only the benchmarks' own pages.
[[noreturn]] void fail(j_common_ptr info)
{
    (*info->err->output_message)(info);
    std::exit(1);
}

} // namespace

void DecodeWithLibjpeg(const std::filesystem::path &file, int eighths, Transform transform)
{
    // Kept from call to call, so that no call pays for mapping fresh memory.
    static std::vector<unsigned char> bytes;
    static std::vector<JSAMPLE> pixels;
    std::ifstream in(file, std::ios::binary);
    std::error_code error;
    bytes.resize(std::filesystem::file_size(file, error));
    if (error || bytes.empty() ||
        !in.read(reinterpret_cast<char *>(bytes.data()), std::streamsize(bytes.size()))) {
        std::cerr << "cannot read " << file << '\n';
        std::exit(1);
    }
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = fail;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    info.dct_method = transform == Transform::Fast ? JDCT_IFAST : JDCT_ISLOW;
    info.scale_num = static_cast<unsigned>(eighths);
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    const std::size_t bytesPerLine = std::size_t(info.output_width) * 4;
    pixels.resize(std::max(pixels.size(), bytesPerLine * info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + bytesPerLine * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

} // namespace bench
