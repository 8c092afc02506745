#include "platform/RegistryStore.h"

#include "platform/AtomicWrite.h"
#include "platform/FileDescriptor.h"
#include "platform/GhostscriptRecord.h"
#include "platform/PlatformRoot.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

[[noreturn]] void failSaving(const std::filesystem::path &file)
{
    throw RegistryError("Impossible d'enregistrer le registre : " + file.string() + ".");
}

[[noreturn]] void failLocking(const std::filesystem::path &file)
{
    throw RegistryError("Impossible d'accéder au registre : " + file.string() + ".");
}

// flock on the lock file beside the registry, held for the object's life.
class RegistryLock {
public:
    RegistryLock(const std::filesystem::path &file, int operation)
        : fd_(::open((file.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    {
        if (fd_.get() < 0)
            failLocking(file);
        int result;
        do
            result = ::flock(fd_.get(), operation);
        while (result != 0 && errno == EINTR);
        if (result != 0)
            failLocking(file);
    }

private:
    FileDescriptor fd_;
};

// The file's bytes, or nothing when it does not exist.
std::optional<std::string> readFile(const std::filesystem::path &file)
{
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw RegistryError("Impossible de lire le registre : " + file.string() + ".");
    }
    std::string text;
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count == 0)
            return text;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw RegistryError("Impossible de lire le registre : " + file.string() + ".");
        }
        text.append(buffer, static_cast<size_t>(count));
    }
}

} // namespace

std::filesystem::path registryFilePath()
{
    return PlatformRoot() / "registry.txt";
}

RegistryTree readRegistry()
{
    const std::filesystem::path file = registryFilePath();
    {
        RegistryLock lock(file, LOCK_SH);
        if (const std::optional<std::string> text = readFile(file))
            return parseRegistry(*text, file);
    }
    RegistryTree tree;
    changeRegistry([&](RegistryTree &current) {
        tree = current;
        return false;
    });
    return tree;
}

void changeRegistry(const std::function<bool(RegistryTree &)> &apply)
{
    const std::filesystem::path file = registryFilePath();
    RegistryLock lock(file, LOCK_EX);
    const std::optional<std::string> text = readFile(file);
    RegistryTree tree;
    if (text) {
        tree = parseRegistry(*text, file);
    } else if (const std::optional<GhostscriptLibrary> ghostscript = findGhostscriptLibrary()) {
        recordGhostscript(tree, *ghostscript);
    }
    if (!apply(tree) && text)
        return;
    try {
        WriteFileAtomically(file, formatRegistry(tree));
    } catch (const FileWriteError &) {
        failSaving(file);
    }
}

std::optional<std::filesystem::path> setAsideDamagedRegistry()
{
    const std::filesystem::path file = registryFilePath();
    RegistryLock lock(file, LOCK_EX);
    const std::optional<std::string> text = readFile(file);
    if (!text)
        return std::nullopt;
    try {
        parseRegistry(*text, file);
        return std::nullopt;
    } catch (const RegistryDamagedError &) {
    }
    for (int number = 1;; ++number) {
        std::filesystem::path kept = file;
        kept += number == 1 ? ".endommagé" : ".endommagé-" + std::to_string(number);
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, kept.c_str(), RENAME_NOREPLACE) == 0)
            return kept;
        if (errno != EEXIST)
            failSaving(file);
    }
}

} // namespace platform
