#include "app/core/files/TemporaryDirectory.h"

#include "platform/SystemServices.h"

#include <filesystem>

// A TMPDIR that names no directory falls back to /tmp.
QString GetTempDir()
{
    try {
        return TrimTrailingBackslashes(QString::fromStdString(platform::TempDirectory().string()));
    } catch (const std::filesystem::filesystem_error &) {
        return QStringLiteral("/tmp");
    }
}

QString TrimTrailingBackslashes(const QString &text)
{
    QString trimmed = text;
    while (!trimmed.isEmpty() && trimmed.back().unicode() <= 32)
        trimmed.chop(1);
    qsizetype start = 0;
    while (start < trimmed.size() && trimmed[start].unicode() <= 32)
        ++start;
    trimmed.remove(0, start);
    while (trimmed.size() > 1 && trimmed.back() == u'/')
        trimmed.chop(1);
    return trimmed;
}
