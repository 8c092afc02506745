#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

// A file could not be written; the text is a French message for the user.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes a new version of target into a temporary file beside it and renames that into
// place on commit(), so the target is either left as it was or replaced whole. Dropped
// without commit(), the temporary file is removed. A target that exists but may not be
// written is refused. Errors raise FileWriteError.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::filesystem::path &target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    void write(const void *bytes, std::size_t count);
    // Appends count bytes of the file at source, from its offset 0; observe, when given, sees
    // every block as it is written.
    using BlockObserver = std::function<void(const void *bytes, std::size_t count)>;
    void copyFrom(const std::filesystem::path &source, std::int64_t count,
                  const BlockObserver &observe = {});
    void commit();

    // The file that commit() replaces: target, or the file it links to.
    const std::filesystem::path &target() const { return target_; }

private:
    [[noreturn]] void fail() const;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
};
