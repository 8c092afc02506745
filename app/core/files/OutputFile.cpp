#include "app/core/files/OutputFile.h"

#include "app/core/seams/Prompter.h"

#include <QFileInfo>

QString ReplaceExtension(const QString &path, const QString &extension)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    const bool hasExtension = dot > path.lastIndexOf(u'/');
    return (hasExtension ? path.left(dot) : path) + extension;
}

bool MayReplace(Prompter &prompter, const QString &path)
{
    return !QFileInfo::exists(path) ||
           prompter.askYesNo(QStringLiteral("Le fichier ") + path +
                             QStringLiteral(" existe déjà.\r\nVoulez-vous le remplacer ?"));
}
