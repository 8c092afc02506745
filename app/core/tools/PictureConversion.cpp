#include "app/core/tools/PictureConversion.h"

#include "app/core/seams/Prompter.h"
#include "app/core/tools/PictureFormats.h"
#include "app/jpeg/Jpeg.h"
#include "platform/AtomicWrite.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <filesystem>
#include <new>
#include <optional>

namespace {

// The largest width or height a JPEG file can hold.
constexpr int JpegMaxSide = 65500;

// The picture drawn at (0, 0) on a white bitmap of its size, encoded at quality 70.
std::vector<std::uint8_t> EncodeOnWhite(const QImage &picture)
{
    jpeg::Image bitmap{picture.width(), picture.height(), jpeg::PixelLayout::Bgra, {}};
    bitmap.pixels.resize(bitmap.bytesPerLine() * std::size_t(bitmap.height));
    QImage canvas(bitmap.pixels.data(), bitmap.width, bitmap.height,
                  qsizetype(bitmap.bytesPerLine()), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.drawImage(0, 0, picture);
    painter.end();
    return jpeg::Encode(bitmap);
}

void ConvertPicture(const QString &source, Prompter &prompter)
{
    const QString target = ConvertedFileName(source);
    const std::filesystem::path targetPath = target.toStdString();
    // Taken before the source is read and the user asked: only the file they were about, the
    // source itself when it is converted in place, is replaced.
    const std::optional<platform::FileIdentity> replaced = platform::IdentityAt(targetPath);
    std::vector<std::uint8_t> encoded;
    try {
        const QImage picture = LoadPicture(source);
        if (picture.width() > JpegMaxSide || picture.height() > JpegMaxSide) {
            prompter.error("L'image du fichier " + source +
                           " est trop grande pour le format JPEG (65500 points de côté au "
                           "plus).");
            return;
        }
        encoded = EncodeOnWhite(picture);
    } catch (const PictureError &error) {
        prompter.error(QString::fromStdString(error.what()));
        return;
    } catch (const std::bad_alloc &) {
        prompter.error(PictureTooLargeMessage(source));
        return;
    } catch (const jpeg::JpegError &) {
        prompter.error(InvalidPictureMessage(source));
        return;
    }

    std::error_code error;
    const bool exists = std::filesystem::exists(targetPath, error);
    if (exists) {
        const QString question =
            std::filesystem::equivalent(source.toStdString(), targetPath, error)
                ? "Le fichier " + target +
                      " est déjà une image JPEG. Voulez-vous le remplacer par sa conversion ?"
                : "Le fichier " + target + " existe déjà. Voulez-vous le remplacer ?";
        if (!prompter.askYesNo(question))
            return;
    }
    try {
        platform::AtomicFileWriter out(targetPath, exists ? replaced : std::nullopt);
        out.write(encoded.data(), encoded.size());
        out.commit();
    } catch (const FileWriteError &failure) {
        prompter.error(QString::fromStdString(failure.what()));
    }
}

} // namespace

QString ConvertedFileName(const QString &source)
{
    const qsizetype nameStart = source.size() - QFileInfo(source).fileName().size();
    const qsizetype dot = source.lastIndexOf(QLatin1Char('.'));
    return (dot < nameStart ? source : source.left(dot)) + QStringLiteral(".jpg");
}

void ConvertPictures(const QStringList &files, Prompter &prompter)
{
    for (const QString &file : files)
        ConvertPicture(file, prompter);
}
