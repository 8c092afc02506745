#include "app/QtDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>

namespace {

// "Bande dessinée (*.bd)|*.bd" becomes the Qt filter "Bande dessinée (*.bd) (*.bd)"; the
// details are hidden, so the description shows as written.
QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        result << parts[i] + QStringLiteral(" (") + parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' '))
                      + QLatin1Char(')');
    return result;
}

bool run(QWidget *parent, FileDialog &dialog, QFileDialog::AcceptMode mode)
{
    QFileDialog box(parent, dialog.Title);
    box.setAcceptMode(mode);
    box.setOption(QFileDialog::HideNameFilterDetails);
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setNameFilters(nameFilters(dialog.Filter));
    if (mode == QFileDialog::AcceptSave)
        box.setFileMode(QFileDialog::AnyFile);
    else
        box.setFileMode(dialog.AllowMultiSelect ? QFileDialog::ExistingFiles
                                                : (dialog.FileMustExist ? QFileDialog::ExistingFile
                                                                        : QFileDialog::AnyFile));
    const QFileInfo previous(dialog.FileName);
    if (!dialog.InitialDir.isEmpty())
        box.setDirectory(dialog.InitialDir);
    else if (!dialog.FileName.isEmpty())
        box.setDirectory(previous.absolutePath());
    if (!dialog.FileName.isEmpty())
        box.selectFile(previous.fileName());
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    dialog.Files.clear();
    for (const QString &file : box.selectedFiles())
        dialog.Files << QDir::toNativeSeparators(file);
    dialog.FileName = dialog.Files.first();
    return true;
}

} // namespace

bool QtDialogs::openFile(FileDialog &dialog)
{
    return run(parent_, dialog, QFileDialog::AcceptOpen);
}

bool QtDialogs::saveFile(FileDialog &dialog)
{
    return run(parent_, dialog, QFileDialog::AcceptSave);
}

bool QtDialogs::print(QPrinter &printer)
{
    QPrintDialog box(&printer, parent_);
    return box.exec() == QDialog::Accepted;
}
