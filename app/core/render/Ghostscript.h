#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The Ghostscript directory, with its trailing '/': the directory part of GS_DLL in the
// version subkey of HKEY_LOCAL_MACHINE\SOFTWARE\GPL Ghostscript whose name sorts last as
// case-insensitive text (9.05 after 10.0). Empty, without a message, when a key or the value
// is missing or the registry cannot be read.
QString FindGhostscriptDir();

// The interpreter library, looked up in the Ghostscript directory, or along the library
// search path when the directory is empty.
inline constexpr const char *GhostscriptLibraryName = "libgs.so.10";

// The console program `gs`: in the Ghostscript directory when it is there, else the first
// one on PATH; empty when there is none.
QString GhostscriptConsolePath(const QString &ghostscriptDir);
bool GhostscriptConsoleExists(const QString &ghostscriptDir);

// "-sOutputFile=" followed by path, its '%' doubled: Ghostscript reads the name as a pattern.
QString GhostscriptOutputArgument(const QString &path);

// The interpreter library, loaded for the life of the object.
class GhostscriptLibrary {
public:
    // Nothing when the library cannot be loaded.
    static std::optional<GhostscriptLibrary> load(const QString &ghostscriptDir);

    // Runs one interpreter instance over the arguments (the first stands for the program's
    // own name) and deletes it again. False when an entry point is missing or the
    // interpreter reported an error.
    bool run(const QStringList &arguments) const;

private:
    struct Closer {
        void operator()(void *handle) const;
    };
    explicit GhostscriptLibrary(void *handle) : handle_(handle) {}

    std::unique_ptr<void, Closer> handle_;
};
