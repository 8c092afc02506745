#include "platform/AtomicWrite.h"

#include "app/text/FileMessages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

namespace {

// The file a chain of symbolic links leads to, whether that file exists yet or not; the path
// itself when it is no link. A chain that never ends stops at a link.
std::filesystem::path resolvedTarget(const std::filesystem::path &target)
{
    std::error_code error;
    std::filesystem::path file = target;
    for (int link = 0; link < 40 && std::filesystem::is_symlink(file, error); ++link) {
        const std::filesystem::path leadsTo = std::filesystem::read_symlink(file, error);
        if (error)
            return file;
        file = file.parent_path() / leadsTo; // an absolute leadsTo replaces the whole
    }
    if (file == target)
        return target;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(file, error);
    return error ? file : resolved;
}

std::filesystem::path folderOf(const std::filesystem::path &file)
{
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// The longest name the folder of file may hold.
std::size_t longestNameBeside(const std::filesystem::path &file)
{
    const long longest = ::pathconf(folderOf(file).c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
}

// name cut to at most length bytes, not inside a UTF-8 sequence (of at most four bytes).
std::string_view cutName(std::string_view name, std::size_t length)
{
    if (name.size() <= length)
        return name;
    const auto continues = [&name](std::size_t at) {
        return (static_cast<unsigned char>(name[at]) & 0xC0) == 0x80;
    };
    for (int back = 0; back < 3 && length > 0 && continues(length); ++back)
        --length;
    return name.substr(0, length);
}

// ".<name>.XXXXXX" beside file, the X being random letters and digits; the name is cut so
// that the whole fits in a name of the folder.
std::filesystem::path hiddenNameBeside(const std::filesystem::path &file)
{
    static constexpr char Characters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static constexpr std::size_t Added = 8; // ".", "." and six characters
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof Characters - 2);
    const std::size_t longest = longestNameBeside(file);
    std::string name = ".";
    name += cutName(file.filename().native(), longest > Added ? longest - Added : 0);
    name += '.';
    for (int i = 0; i < 6; ++i)
        name += Characters[pick(random)];
    return folderOf(file) / name;
}

// Runs create with fresh hidden names beside file until one is free; true once it succeeded.
template <typename Create>
bool createUnderHiddenName(const std::filesystem::path &file, std::filesystem::path &name,
                           Create &&create)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = hiddenNameBeside(file);
        if (create(name.c_str()))
            return true;
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return false;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path &target,
                                   std::optional<FileIdentity> replaced)
    : target_(resolvedTarget(target)), replaced_(replaced), fd_(openNewVersion())
{
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

void AtomicFileWriter::fail() const
{
    throw FileWriteError("Impossible d'écrire le fichier " + target_.string() + ".");
}

// Created with mode 0666, so that the kernel applies the umask, as to any new file; a file
// that is replaced gives its own mode.
int AtomicFileWriter::openNewVersion()
{
    // The rename would replace a file that may not be written, such as a read-only book, or
    // a link that leads to no file.
    std::error_code error;
    if (std::filesystem::is_symlink(target_, error) ||
        (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT))
        fail();
    int fd = ::open(folderOf(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) {
        createUnderHiddenName(target_, temporary_, [&fd](const char *name) {
            fd = ::open(name, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            return fd >= 0;
        });
    }
    if (fd < 0)
        fail();
    struct stat replaced {};
    if (::stat(target_.c_str(), &replaced) == 0 && ::fchmod(fd, replaced.st_mode & 07777) != 0) {
        ::close(fd);
        if (!temporary_.empty())
            ::unlink(temporary_.c_str());
        fail();
    }
    return fd;
}

void AtomicFileWriter::write(const void *bytes, std::size_t count)
{
    const auto *next = static_cast<const char *>(bytes);
    while (count > 0) {
        const ssize_t written = ::write(fd_.get(), next, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail();
        }
        next += written;
        count -= static_cast<std::size_t>(written);
    }
}

void AtomicFileWriter::copyFrom(int source, const std::filesystem::path &name, std::int64_t count,
                                const BlockObserver &observe)
{
    std::vector<char> block(std::size_t(std::clamp<std::int64_t>(count, 1, 1 << 20)));
    for (std::int64_t offset = 0; offset < count;) {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::int64_t>(count - offset, block.size()));
        const ssize_t got = ::pread(source, block.data(), wanted, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw FileReadError(CannotReadFileMessage(name.string()));
        if (observe)
            observe(block.data(), static_cast<std::size_t>(got));
        write(block.data(), static_cast<std::size_t>(got));
        offset += got;
    }
}

// The unnamed file gets a hidden name of its own first: a link cannot replace a file.
void AtomicFileWriter::giveName()
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    if (!createUnderHiddenName(target_, temporary_, [&self](const char *name) {
            return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name, AT_SYMLINK_FOLLOW) == 0;
        }))
        fail();
}

void AtomicFileWriter::commit()
{
    if (::fsync(fd_.get()) != 0)
        fail();
    if (temporary_.empty())
        giveName();
    // Checked as late as can be, right before the rename; the destructor drops the new version.
    if (replaced_ && IdentityAt(target_) != replaced_)
        throw FileChangedError(FileChangedMessage(target_.string()));
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail();
    temporary_.clear();
    // The new name lasts once the folder is synced too; a folder that cannot be opened for
    // reading keeps it as the file system does.
    const FileDescriptor folder(
        ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0 && ::fsync(folder.get()) != 0)
        fail();
}

void WriteFileAtomically(const std::filesystem::path &file, std::string_view bytes)
{
    AtomicFileWriter out(file);
    out.write(bytes.data(), bytes.size());
    out.commit();
}

} // namespace platform
