#include "platform/AtomicWrite.h"

#include "platform/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <string>

namespace platform {

namespace {

bool writeAll(int fd, std::string_view bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<size_t>(count);
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const std::filesystem::path &file, std::string_view bytes)
{
    const std::filesystem::path temporary = file.string() + ".tmp";
    {
        FileDescriptor fd(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (fd.get() < 0)
            return false;
        if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
            ::unlink(temporary.c_str());
            return false;
        }
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    FileDescriptor folder(::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return true;
}

} // namespace platform
