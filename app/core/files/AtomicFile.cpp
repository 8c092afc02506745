#include "app/core/files/AtomicFile.h"
#include "app/core/files/OpenFile.h"

#include "app/core/files/ReadOnlyFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The permissions a new file gets from open(): 0666 less the process's umask.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path &target) : target_(target)
{
    std::error_code ignored;
    if (std::filesystem::is_symlink(target_, ignored))
        target_ = std::filesystem::canonical(target_, ignored);
    if (target_.empty())
        target_ = target;
    // The rename would replace a file that may not be written, such as a read-only book.
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
        fail();

    std::string hidden = ".";
    hidden += target_.filename().string();
    hidden += ".XXXXXX";
    std::string pattern = (target_.parent_path() / hidden).string();
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0)
        fail();
    temporary_ = pattern;

    struct stat existing {};
    const mode_t mode =
        ::stat(target_.c_str(), &existing) == 0 ? existing.st_mode & 07777 : newFileMode();
    if (::fchmod(fd_, mode) != 0)
        fail();
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
    }
}

void AtomicFileWriter::fail() const
{
    throw FileWriteError("Impossible d'écrire le fichier " + target_.string() + ".");
}

void AtomicFileWriter::write(const void *bytes, std::size_t count)
{
    const auto *next = static_cast<const char *>(bytes);
    while (count > 0) {
        const ssize_t written = ::write(fd_, next, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail();
        }
        next += written;
        count -= static_cast<std::size_t>(written);
    }
}

void AtomicFileWriter::copyFrom(const std::filesystem::path &source, std::int64_t count,
                                const BlockObserver &observe)
{
    const ReadOnlyFile file(source);
    if (file.get() < 0)
        throw FileWriteError(CannotOpenFileMessage(source.string()));
    std::vector<char> block(std::size_t(1) << 20);
    while (count > 0) {
        const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(count, block.size()));
        const ssize_t got = ::read(file.get(), block.data(), wanted);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw FileWriteError(CannotOpenFileMessage(source.string()));
        if (observe)
            observe(block.data(), static_cast<std::size_t>(got));
        write(block.data(), static_cast<std::size_t>(got));
        count -= got;
    }
}

void AtomicFileWriter::commit()
{
    if (::fsync(fd_) != 0)
        fail();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        ::unlink(temporary_.c_str());
        fail();
    }
}
