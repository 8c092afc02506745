#pragma once

#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>

// A file descriptor opened read-only, closed on destruction; get() is negative when the
// file could not be opened.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::filesystem::path &path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
    }

    int get() const { return fd_.get(); }

    // The size of a regular file; -1 when the file is not open or not a regular file.
    std::int64_t regularFileSize() const
    {
        struct stat info {};
        if (get() < 0 || ::fstat(get(), &info) != 0 || !S_ISREG(info.st_mode))
            return -1;
        return info.st_size;
    }

    // Reads exactly count bytes at offset.
    bool readAt(void *out, std::size_t count, std::int64_t offset) const
    {
        return ::pread(get(), out, count, offset) == static_cast<ssize_t>(count);
    }

private:
    platform::FileDescriptor fd_;
};
