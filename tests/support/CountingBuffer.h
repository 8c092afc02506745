#pragma once

#include "app/book/BookFile.h"

#include <cstdint>
#include <map>
#include <streambuf>

// A read buffer over the bytes of a file that counts what is read: how often each position
// is sought, how many reads are made and how many bytes they take.
class CountingBuffer : public std::streambuf {
public:
    explicit CountingBuffer(Bytes bytes) : bytes_(std::move(bytes))
    {
        char *begin = reinterpret_cast<char *>(bytes_.data());
        setg(begin, begin, begin + bytes_.size());
    }
    std::map<std::int64_t, int> seeks; // by position sought
    std::int64_t reads = 0;
    std::int64_t bytesRead = 0;

protected:
    pos_type seekoff(off_type offset, std::ios::seekdir dir, std::ios::openmode) override
    {
        const off_type base = dir == std::ios::beg   ? 0
                              : dir == std::ios::cur ? gptr() - eback()
                                                     : off_type(bytes_.size());
        const off_type position = base + offset;
        if (position < 0 || position > off_type(bytes_.size()))
            return pos_type(off_type(-1));
        if (dir != std::ios::cur)
            ++seeks[position];
        setg(eback(), eback() + position, egptr());
        return pos_type(position);
    }
    pos_type seekpos(pos_type position, std::ios::openmode which) override
    {
        return seekoff(off_type(position), std::ios::beg, which);
    }
    std::streamsize xsgetn(char *out, std::streamsize count) override
    {
        const std::streamsize got = std::streambuf::xsgetn(out, count);
        ++reads;
        bytesRead += got;
        return got;
    }

private:
    Bytes bytes_;
};
