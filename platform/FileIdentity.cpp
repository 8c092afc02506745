#include "platform/FileIdentity.h"

namespace platform {

namespace {

FileIdentity identityFrom(const struct stat &status)
{
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

} // namespace

bool FileIdentity::operator==(const FileIdentity &other) const
{
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

std::optional<FileIdentity> IdentityOf(int fd)
{
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0)
        return std::nullopt;
    return identityFrom(status);
}

std::optional<FileIdentity> IdentityAt(const std::filesystem::path &path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return identityFrom(status);
}

} // namespace platform
