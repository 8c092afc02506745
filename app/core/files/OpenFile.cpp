#include "app/core/files/OpenFile.h"

#include <QFileInfo>

bool IsPdfFile(const QString &path)
{
    return QFileInfo(path).suffix().toLower() == QLatin1String("pdf");
}

QString CannotOpenFileMessage(const QString &path)
{
    return QString::fromStdString(CannotOpenFileMessage(path.toStdString()));
}
