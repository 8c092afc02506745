#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <streambuf>

// A read buffer over size zero bytes that holds none of them: a zero-filled file of any size,
// read at the speed of memory rather than of the file system.
class ZeroBuffer : public std::streambuf {
public:
    explicit ZeroBuffer(std::int64_t size) : size_(size) {}

protected:
    pos_type seekoff(off_type offset, std::ios::seekdir dir, std::ios::openmode) override
    {
        const off_type base = dir == std::ios::beg ? 0 : dir == std::ios::cur ? position_ : size_;
        if (base + offset < 0 || base + offset > size_)
            return pos_type(off_type(-1));
        position_ = base + offset;
        return pos_type(position_);
    }
    pos_type seekpos(pos_type position, std::ios::openmode which) override
    {
        return seekoff(off_type(position), std::ios::beg, which);
    }
    std::streamsize xsgetn(char *out, std::streamsize count) override
    {
        const std::streamsize got = std::min<std::int64_t>(count, size_ - position_);
        std::memset(out, 0, std::size_t(got));
        position_ += got;
        return got;
    }

private:
    std::int64_t size_;
    std::int64_t position_ = 0;
};
