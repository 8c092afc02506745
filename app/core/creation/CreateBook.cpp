#include "app/core/creation/CreateBook.h"

#include "app/core/files/FileNames.h"
#include "app/core/files/OpenFile.h"

#include <QFileInfo>

#include <algorithm>
#include <filesystem>

namespace {

bool sameFile(const QString &a, const QString &b)
{
    std::error_code ignored;
    return !a.isEmpty() && !b.isEmpty() &&
           std::filesystem::equivalent(a.toStdString(), b.toStdString(), ignored);
}

// A file, or a symbolic link wherever it leads, is there under name.
bool nameTaken(const QString &name)
{
    const QFileInfo entry(name);
    return entry.exists() || entry.isSymLink();
}

// The files the book would be made from, chosen or not.
QStringList sourceFiles(const CreationContent &content)
{
    QStringList files = content.PageFiles;
    if (content.CoverChecked)
        files << content.Cover;
    if (content.QuatrsChecked)
        files << content.QuatrsFiles;
    if (content.DescriptionChecked)
        files << content.Description;
    return files;
}

} // namespace

QString BookDestinationName(const QString &chosen)
{
    const QString name = QFileInfo(chosen).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && name.mid(dot).toLower() == QStringLiteral(".bd"))
        return chosen;
    return chosen + QStringLiteral(".bd");
}

bool CreateBook(const CreationContent &content, const CreationTarget &target, Prompter &prompter)
{
    if (content.PageFiles.isEmpty()) {
        prompter.information(QStringLiteral("Il faut choisir les pages."));
        return false;
    }
    for (const QString &source : sourceFiles(content)) {
        if (MayNameAnotherFile(source)) {
            prompter.error(CannotOpenFileMessage(source));
            return false;
        }
    }
    if (MayNameAnotherFile(target.destination)) {
        prompter.error(QStringLiteral("Impossible d'écrire le fichier ") + target.destination +
                       QLatin1Char('.'));
        return false;
    }
    if (content.DescriptionChecked && !QFileInfo(content.Description).isFile()) {
        prompter.information(QStringLiteral("Il faut choisir le fichier pour décrire le livre "
                                            "ou décocher la fonctionnalité."));
        return false;
    }
    const QString &destination = target.destination;
    if (destination.isEmpty()) {
        prompter.information(QStringLiteral("Il faut choisir le fichier de destination."));
        return false;
    }
    if (sameFile(destination, target.openBook)) {
        prompter.error(QStringLiteral("Le fichier ") + destination +
                       QStringLiteral(" est la bande dessinée ouverte : il ne peut pas être "
                                      "remplacé."));
        return false;
    }
    if (content.DescriptionChecked && sameFile(destination, content.Description)) {
        prompter.error(QStringLiteral("Le fichier ") + destination +
                       QStringLiteral(" est aussi le fichier qui décrit le livre."));
        return false;
    }
    const QStringList images = CreationImageFiles(content);
    if (std::any_of(images.begin(), images.end(),
                    [&](const QString &image) { return sameFile(destination, image); })) {
        prompter.error(QStringLiteral("Le fichier ") + destination +
                       QStringLiteral(" est aussi une des images de la bande dessinée."));
        return false;
    }
    if (!target.replaceConfirmed && nameTaken(destination) &&
        !prompter.askYesNo(QStringLiteral("Le fichier ") + destination +
                           QStringLiteral(" existe déjà. Voulez-vous le remplacer ?")))
        return false;

    try {
        WriteCreatedBook(content, destination);
    } catch (const UnplacedConstraintError &error) {
        prompter.information(QString::fromUtf8(error.what()));
        return false;
    } catch (const UserError &error) {
        prompter.error(QString::fromUtf8(error.what()));
        return false;
    }
    prompter.information(QStringLiteral("La création a été effectuée avec succès."));
    return true;
}
