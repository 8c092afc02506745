#include "app/core/TemporaryDirectory.h"

#include <filesystem>

// A TMPDIR that names no directory falls back to /tmp.
QString GetTempDir() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::temp_directory_path(error);
    if (error || path.empty())
        return QStringLiteral("/tmp");
    return TrimTrailingBackslashes(QString::fromStdString(path.string()));
}

QString TrimTrailingBackslashes(const QString &text) {
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
