#include "tests/support/ConcurrentWriter.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

bool putInPlace(int fd, const Bytes &version)
{
    return ::pwrite(fd, version.data(), version.size(), 0) == ssize_t(version.size());
}

bool renameOver(const std::filesystem::path &path, const Bytes &version)
{
    const std::string next = path.string() + ".suivant";
    WriteFileBytes(next, version);
    return std::rename(next.c_str(), path.c_str()) == 0;
}

} // namespace

ConcurrentWriter::ConcurrentWriter(const std::filesystem::path &path,
                                   const std::vector<Bytes> &versions, Way way)
    : process_(::fork())
{
    if (process_ != 0)
        return;
    const int fd = way == Way::InPlace ? ::open(path.c_str(), O_WRONLY | O_CLOEXEC) : -1;
    for (const Bytes &version : versions) {
        if (!(way == Way::InPlace ? putInPlace(fd, version) : renameOver(path, version)))
            ::_exit(1);
        ::usleep(300);
    }
    ::_exit(0);
}

ConcurrentWriter::~ConcurrentWriter()
{
    while (running()) {
    }
}

bool ConcurrentWriter::running()
{
    if (ended_ || process_ <= 0)
        return false;
    int status = 0;
    if (::waitpid(process_, &status, WNOHANG) == 0)
        return true;
    ended_ = true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return false;
}
