#pragma once

#include "tests/support/BookFixture.h"

#include <filesystem>
#include <vector>

#include <sys/types.h>

// Another process, started by the constructor, that puts each of versions at path in turn,
// 300 µs apart: written to a file beside it and renamed over it, or written over it in place.
class ConcurrentWriter {
public:
    enum class Way { RenamedOver, InPlace };

    ConcurrentWriter(const std::filesystem::path &path, const std::vector<Bytes> &versions,
                     Way way);
    ~ConcurrentWriter();
    ConcurrentWriter(const ConcurrentWriter &) = delete;
    ConcurrentWriter &operator=(const ConcurrentWriter &) = delete;

    bool started() const { return process_ > 0; }
    // Whether it still writes; once not, whether it put every version in place.
    bool running();
    bool succeeded() const { return ended_ && status_ == 0; }

private:
    pid_t process_ = -1;
    bool ended_ = false;
    int status_ = -1;
};
