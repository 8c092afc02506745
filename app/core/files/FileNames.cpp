#include "app/core/files/FileNames.h"

#include <QFile>
#include <QScopeGuard>

#include <dirent.h>

namespace {

// Whether folder holds a name that does not decode and reads as name.
bool holdsUndecodedSpelling(const QString &folder, const QString &name)
{
    DIR *listing = ::opendir(QFile::encodeName(folder).constData());
    if (listing == nullptr)
        return false;
    const auto closed = qScopeGuard([listing] { ::closedir(listing); });
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray bytes(entry->d_name);
        const QString read = QFile::decodeName(bytes);
        if (read == name && QFile::encodeName(read) != bytes)
            return true;
    }
    return false;
}

} // namespace

bool MayNameAnotherFile(const QString &path)
{
    if (!path.contains(QChar::ReplacementCharacter))
        return false;
    // Each part is looked for in the folder before it, which reads as it is spelled: had an
    // earlier part not, it would have answered.
    for (qsizetype start = 0;;) {
        const qsizetype end = path.indexOf(QLatin1Char('/'), start);
        const QString part = path.mid(start, end < 0 ? -1 : end - start);
        const QString folder = start == 0 ? QStringLiteral(".") : path.left(start);
        if (part.contains(QChar::ReplacementCharacter) && holdsUndecodedSpelling(folder, part))
            return true;
        if (end < 0)
            return false;
        start = end + 1;
    }
}
