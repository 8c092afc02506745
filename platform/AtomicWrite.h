#pragma once

#include "app/text/UserError.h"
#include "platform/FileDescriptor.h"
#include "platform/FileIdentity.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace platform {

// Writes a new version of target and puts it in place on commit(), in one step: the target is
// either left as it was or replaced whole. The new version is an unnamed file in the target's
// folder (O_TMPFILE), given a name only on commit, so that a write that ends early, even a
// killed one, leaves nothing behind (but for a kill between the two system calls that name it
// and put it in place); where the file system has no unnamed files it is a unique hidden
// name, ".<name>.XXXXXX" (the name cut to fit in the folder's longest name), which only a
// killed write leaves. The new version keeps the mode of the file it replaces; a new file
// gets 0666 less the umask. The file and its folder are synced on commit. A target that is a
// symbolic link is written through it, the file it names being created when there is none; a
// chain of links that never ends, and a file that exists but may not be written, are refused.
// Every failure raises FileWriteError "Impossible d'écrire le fichier <target>."; dropped
// without commit(), the new version is dropped too. Given the identity of the file it replaces
// (taken when that file was opened to be read), commit() puts the new version in place only
// while that file is still the one at target; otherwise it drops the new version and raises
// FileChangedError "Le fichier <target> a été modifié pendant l'enregistrement.".
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::filesystem::path &target,
                              std::optional<FileIdentity> replaced = std::nullopt);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    void write(const void *bytes, std::size_t count);
    // Appends the first count bytes of the file open on the descriptor source, whatever its
    // position, which is left alone; observe, when given, sees every block as it is written.
    // A source that cannot be read, or holds fewer bytes, raises FileReadError "Impossible de
    // lire le fichier <name>.".
    using BlockObserver = std::function<void(const void *bytes, std::size_t count)>;
    void copyFrom(int source, const std::filesystem::path &name, std::int64_t count,
                  const BlockObserver &observe = {});
    // Once, after the last write.
    void commit();

    // The file that commit() replaces: target, or the file it links to.
    const std::filesystem::path &target() const { return target_; }

private:
    [[noreturn]] void fail() const;
    int openNewVersion();
    void giveName();

    std::filesystem::path target_;
    std::filesystem::path temporary_; // the new version's name; empty while it has none
    std::optional<FileIdentity> replaced_;
    FileDescriptor fd_;
};

// Replaces file with bytes through AtomicFileWriter.
void WriteFileAtomically(const std::filesystem::path &file, std::string_view bytes);

} // namespace platform
