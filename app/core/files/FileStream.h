#pragma once

#include <ext/stdio_filebuf.h>

#include <filesystem>
#include <istream>

// A file opened read-only once and read as a stream, unbuffered: every read is one read() of
// its own length. Its descriptor is at hand for what reads by offset or asks for the file's
// identity, so that an operation reads one file whatever is put at its path meanwhile.
// Closed on destruction; a file that cannot be opened gives a failed stream.
class FileStream : public std::istream {
public:
    explicit FileStream(const std::filesystem::path &path);
    FileStream(const FileStream &) = delete;
    FileStream &operator=(const FileStream &) = delete;

    bool isOpen() const { return buffer_.is_open(); }
    // -1 when the file could not be opened.
    int descriptor() { return isOpen() ? buffer_.fd() : -1; }

private:
    __gnu_cxx::stdio_filebuf<char> buffer_;
};
