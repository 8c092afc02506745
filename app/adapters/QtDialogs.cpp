#include "app/adapters/QtDialogs.h"

#include "app/core/tools/PictureFormats.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QVBoxLayout>

namespace {

// "Bande dessinée (*.bd)|*.bd" becomes the Qt filter "Bande dessinée (*.bd) (*.bd)"; the
// details are hidden, so the description shows as written.
QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        result << parts[i] + QStringLiteral(" (") +
                      parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    return result;
}

// The picture of the file under the cursor, shrunk into a box at the top right of the file
// list, with its size in pixels below it; at first the picture of the file given.
void addPicturePreview(QFileDialog &box, const QString &initialFile)
{
    constexpr int Side = 200;
    auto *panel = new QWidget(&box);
    auto *preview = new QLabel(panel);
    preview->setObjectName(QStringLiteral("PicturePreview"));
    preview->setFixedSize(Side, Side);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    auto *size = new QLabel(panel);
    size->setObjectName(QStringLiteral("PicturePreviewSize"));
    size->setAlignment(Qt::AlignCenter);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(preview);
    column->addWidget(size);
    // The file dialog's grid: the list spans row 1 of its three columns.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addWidget(panel, 1, grid->columnCount(), Qt::AlignTop);

    const auto showPicture = [preview, size](const QString &path) {
        preview->clear();
        size->clear();
        if (!QFileInfo(path).isFile())
            return;
        try {
            const QImage picture = LoadPicture(path);
            preview->setPixmap(QPixmap::fromImage(
                picture.scaled(Side, Side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
            size->setText(QStringLiteral("%1 x %2").arg(picture.width()).arg(picture.height()));
        } catch (const PictureError &) {
        }
    };
    QObject::connect(&box, &QFileDialog::currentChanged, panel, showPicture);
    showPicture(initialFile);
}

bool run(QWidget *parent, FileDialog &dialog, QFileDialog::AcceptMode mode)
{
    QFileDialog box(parent, dialog.Title);
    box.setAcceptMode(mode);
    box.setOption(QFileDialog::HideNameFilterDetails);
    box.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.Picture && dialog.Filter.isEmpty())
        box.setNameFilters(PictureFilter().split(QStringLiteral(";;")));
    else
        box.setNameFilters(nameFilters(dialog.Filter));
    if (dialog.Picture)
        addPicturePreview(box, dialog.FileName);
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

bool QtDialogs::chooseFolder(const QString &caption, QString &folder)
{
    const QString chosen = QFileDialog::getExistingDirectory(
        parent_, caption, QString(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return false;
    folder = QDir::toNativeSeparators(chosen);
    return true;
}

bool QtDialogs::chooseColor(QColor &colour)
{
    const QColor chosen =
        QColorDialog::getColor(colour, parent_, QString(), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return false;
    colour = chosen;
    return true;
}

bool QtDialogs::chooseFont(QFont &font)
{
    // The dialog lists installed families and their styles only, under the styles' own names
    // (not the translated ones it would make up from the weight): it shows the face that
    // stands in for the font, and what the user leaves as shown stays as the font had it.
    const QFontInfo face(font);
    QFont installed = font;
    installed.setFamilies({face.family()});
    installed.setStyleName(face.styleName());
    QFontDialog box(parent_);
    box.setOption(QFontDialog::DontUseNativeDialog);
    box.setCurrentFont(installed);
    const QFont shown = box.currentFont();
    if (box.exec() != QDialog::Accepted)
        return false;
    const QFont chosen = box.selectedFont();
    if (chosen.family() != shown.family())
        font.setFamilies({chosen.family()});
    if (chosen.pointSizeF() != shown.pointSizeF())
        font.setPointSizeF(chosen.pointSizeF());
    if (chosen.weight() != shown.weight())
        font.setWeight(chosen.weight());
    if (chosen.italic() != shown.italic())
        font.setItalic(chosen.italic());
    if (chosen.underline() != shown.underline())
        font.setUnderline(chosen.underline());
    if (chosen.strikeOut() != shown.strikeOut())
        font.setStrikeOut(chosen.strikeOut());
    return true;
}

bool QtDialogs::inputQuery(const QString &title, const QString &prompt, QString &text)
{
    QInputDialog box(parent_);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(text);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annuler"));
    if (box.exec() != QDialog::Accepted)
        return false;
    text = box.textValue();
    return true;
}
