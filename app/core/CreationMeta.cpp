#include "app/core/CreationMeta.h"

#include "app/core/AtomicFile.h"
#include "app/core/Md5.h"

#include <QFile>
#include <QFileInfo>

#include <string>

namespace {

bool coverWritten(const CreationContent &content)
{
    return content.CoverChecked && QFileInfo(content.Cover).isFile();
}

std::string md5TextOfFile(const QString &file)
{
    MD5Digest digest;
    if (!MD5File(file.toStdString(), digest))
        throw FileWriteError(CannotOpenMessage(file.toStdString()));
    return MD5DigestToText(digest);
}

Bytes descriptionBytes(const CreationContent &content)
{
    if (!content.DescriptionChecked)
        return {};
    QFile file(content.Description);
    if (!file.open(QIODevice::ReadOnly))
        throw FileWriteError(CannotOpenMessage(content.Description.toStdString()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileWriteError(CannotOpenMessage(content.Description.toStdString()));
    Bytes bytes(data.begin(), data.end());
    if (!bytes.empty() && bytes.back() == 0)
        bytes.pop_back();
    return bytes;
}

qsizetype indexIgnoringCase(const QStringList &files, const QString &file)
{
    for (qsizetype i = 0; i < files.size(); ++i)
        if (files[i].compare(file, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// 1-based over the pages followed by the back covers.
qsizetype constraintPosition(const CreationContent &content, const QString &file)
{
    const qsizetype page = indexIgnoringCase(content.PageFiles, file);
    if (page >= 0)
        return page + 1;
    const qsizetype quatr = indexIgnoringCase(content.QuatrsFiles, file);
    if (quatr >= 0)
        return content.PageFiles.size() + 1 + quatr;
    throw UnplacedConstraintError();
}

} // namespace

UnplacedConstraintError::UnplacedConstraintError()
    : std::runtime_error("Impossible de trouver la contrainte, ce qui implique une "
                         "impossibilité de créer le fichier.")
{
}

QStringList CreationImageFiles(const CreationContent &content)
{
    QStringList files;
    if (coverWritten(content))
        files << content.Cover;
    return files << content.PageFiles << content.QuatrsFiles;
}

Bytes BuildCreationMetaRecord(const CreationContent &content)
{
    std::vector<std::string> lines{"%EOF", "%MD5"};
    for (const QString &file : CreationImageFiles(content))
        lines.push_back(md5TextOfFile(file));
    if (coverWritten(content))
        lines.push_back("%Reliure");
    if (!content.PageFiles.isEmpty()) {
        lines.push_back("%ListePages");
        lines.push_back(std::to_string(content.PageFiles.size()));
    }
    if (content.QuatrsChecked && !content.QuatrsFiles.isEmpty()) {
        lines.push_back("%Quatrs");
        lines.push_back(std::to_string(content.QuatrsFiles.size()));
    }
    if (!content.Constraints.empty()) {
        lines.push_back("%Contraintes");
        for (const CreationConstraint &constraint : content.Constraints) {
            lines.push_back(std::to_string(constraintPosition(content, constraint.File)));
            lines.push_back(std::to_string(int(constraint.Kind)));
            lines.push_back(std::to_string(constraint.Value));
        }
    }

    Bytes meta = descriptionBytes(content);
    for (const std::string &line : lines) {
        meta.insert(meta.end(), line.begin(), line.end());
        meta.push_back('\r');
        meta.push_back('\n');
    }
    return meta;
}
