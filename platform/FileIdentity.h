#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <optional>

namespace platform {

// What tells one version of a file from another as the file system records it: the file it is
// (device and inode) and, as far as its metadata say, what it holds (size and modification
// time). A file renamed over, rewritten, appended to or cut gets another identity.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified {};

    bool operator==(const FileIdentity &other) const;
};

// The identity of the file open on fd; none when it cannot be had.
std::optional<FileIdentity> IdentityOf(int fd);
// The identity of the file at path, through a symbolic link; none when nothing is there.
std::optional<FileIdentity> IdentityAt(const std::filesystem::path &path);

} // namespace platform
