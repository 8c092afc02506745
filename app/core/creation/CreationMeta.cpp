#include "app/core/creation/CreationMeta.h"

#include "app/core/files/BookWriter.h"
#include "app/core/files/OpenFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

bool coverWritten(const CreationContent &content)
{
    return content.CoverChecked && QFileInfo(content.Cover).isFile();
}

const QStringList &usedQuatrs(const CreationContent &content)
{
    static const QStringList none;
    return content.QuatrsChecked ? content.QuatrsFiles : none;
}

Bytes descriptionBytes(const CreationContent &content)
{
    if (!content.DescriptionChecked)
        return {};
    QFile file(content.Description);
    if (!file.open(QIODevice::ReadOnly))
        throw FileReadError(CannotOpenFileMessage(content.Description.toStdString()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileReadError(CannotReadFileMessage(content.Description.toStdString()));
    Bytes bytes(data.begin(), data.end());
    if (!bytes.empty() && bytes.back() == 0)
        bytes.pop_back();
    // The readers of the meta record stop at a NUL byte: what follows would be lost.
    if (std::find(bytes.begin(), bytes.end(), 0) != bytes.end())
        throw FileWriteError("Le fichier " + content.Description.toStdString() +
                             " ne peut pas décrire le livre : il contient un caractère nul.");
    // "%EOF" must start a line of its own to be found.
    if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n')
        bytes.insert(bytes.end(), {'\r', '\n'});
    return bytes;
}

std::vector<std::string> numberingLines(const CreationContent &content)
{
    std::vector<std::string> lines;
    if (coverWritten(content))
        lines.push_back("%Reliure");
    if (!content.PageFiles.isEmpty()) {
        lines.push_back("%ListePages");
        lines.push_back(std::to_string(content.PageFiles.size()));
    }
    const QStringList &quatrs = usedQuatrs(content);
    if (!quatrs.isEmpty()) {
        lines.push_back("%Quatrs");
        lines.push_back(std::to_string(quatrs.size()));
    }
    std::vector<std::string> constraints;
    for (const CreationConstraint &constraint : content.Constraints) {
        // 1-based over the pages followed by the back covers.
        qsizetype position = content.PageFiles.indexOf(constraint.File) + 1;
        if (position == 0) {
            const qsizetype quatr = content.QuatrsFiles.indexOf(constraint.File);
            if (quatr < 0)
                throw UnplacedConstraintError();
            if (!content.QuatrsChecked)
                continue;
            position = content.PageFiles.size() + 1 + quatr;
        }
        constraints.push_back(std::to_string(position));
        constraints.push_back(std::to_string(int(constraint.Kind)));
        constraints.push_back(std::to_string(constraint.Value));
    }
    if (!constraints.empty()) {
        lines.push_back("%Contraintes");
        lines.insert(lines.end(), constraints.begin(), constraints.end());
    }
    return lines;
}

void appendLine(Bytes &bytes, const std::string &line)
{
    bytes.insert(bytes.end(), line.begin(), line.end());
    bytes.insert(bytes.end(), {'\r', '\n'});
}

} // namespace

UnplacedConstraintError::UnplacedConstraintError()
    : UserError("Impossible de trouver la contrainte, ce qui implique une "
                "impossibilité de créer le fichier.")
{
}

QStringList CreationImageFiles(const CreationContent &content)
{
    QStringList files;
    if (coverWritten(content))
        files << content.Cover;
    return files << content.PageFiles << usedQuatrs(content);
}

CreationMetaRecord::CreationMetaRecord(const CreationContent &content)
    : description_(descriptionBytes(content)), numberingLines_(numberingLines(content))
{
}

Bytes CreationMetaRecord::withDigests(const std::vector<std::string> &md5Texts) const
{
    Bytes meta = description_;
    appendLine(meta, "%EOF");
    appendLine(meta, "%MD5");
    for (const std::string &text : md5Texts)
        appendLine(meta, text);
    for (const std::string &line : numberingLines_)
        appendLine(meta, line);
    return meta;
}

void WriteCreatedBook(const CreationContent &content, const QString &destination)
{
    const CreationMetaRecord meta(content);
    WriteBookImages(
        CreationImageFiles(content), destination,
        [&meta](const std::vector<std::string> &md5Texts) { return meta.withDigests(md5Texts); });
}
