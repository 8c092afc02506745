#include "app/core/files/FileStream.h"

#include <fcntl.h>

namespace {

// A buffer of one byte is no buffer: the stream reads what it is asked for, straight.
constexpr std::size_t Unbuffered = 1;

} // namespace

FileStream::FileStream(const std::filesystem::path &path)
    : std::istream(nullptr), buffer_(::open(path.c_str(), O_RDONLY | O_CLOEXEC),
                                     std::ios::in | std::ios::binary, Unbuffered)
{
    rdbuf(&buffer_);
    if (!buffer_.is_open())
        setstate(std::ios::failbit);
}
