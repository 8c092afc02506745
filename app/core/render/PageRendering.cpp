#include "app/core/render/PageRendering.h"

#include "app/book/BookFile.h"
#include "app/core/files/OpenFile.h"
#include "app/core/files/TemporaryDirectory.h"
#include "app/core/pages/PdfPageSize.h"
#include "app/core/render/JpegImage.h"
#include "app/jpeg/Jpeg.h"
#include "app/text/FileMessages.h"
#include "app/text/UserError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <cstdlib>
#include <filesystem>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// "incorrect", not "incorrecte": the program's own text, kept as it stands.
const QString IncorrectImageText = QStringLiteral("Image incorrect");

// The rendering directory of this process: made on first use (mkdtemp gives mode 0700) and
// removed with its contents when the process ends. Made anew once it is no longer our own
// 0700 directory (a temporary-file cleaner may remove it and anyone may then take the name).
class PrivateRenderingDirectory {
public:
    ~PrivateRenderingDirectory()
    {
        std::error_code ignored;
        if (!path_.isEmpty())
            std::filesystem::remove_all(QFile::encodeName(path_).toStdString(), ignored);
    }

    const QString &path()
    {
        if (!stillOurs()) {
            QByteArray pattern = QFile::encodeName(GetTempDir() + "/quirelle-pages-XXXXXX");
            if (!mkdtemp(pattern.data()))
                throw FileWriteError("Impossible de créer un dossier dans " +
                                     GetTempDir().toStdString() + ".");
            path_ = QFile::decodeName(pattern);
        }
        return path_;
    }

private:
    bool stillOurs() const
    {
        struct stat status {};
        return !path_.isEmpty() && lstat(QFile::encodeName(path_).constData(), &status) == 0 &&
               S_ISDIR(status.st_mode) && status.st_uid == geteuid() &&
               (status.st_mode & 0777) == 0700;
    }

    QString path_;
};

PrivateRenderingDirectory renderingDirectory;

QImage BlankBitmap(QSize size)
{
    if (size.isEmpty())
        return QImage();
    QImage bitmap(size, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    return bitmap;
}

// A bitmap exactly as large as the text in the default font, with the text at (0, 0).
QImage TextBitmap(const QString &text)
{
    const QFont font;
    const QImage probe(1, 1, QImage::Format_RGB32);
    const QFontMetrics metrics(font, &probe);
    QImage bitmap(metrics.horizontalAdvance(text), metrics.height(), QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(0, metrics.ascent(), text);
    return bitmap;
}

PageBitmap OutOfMemoryBitmap(Prompter &prompter)
{
    QImage bitmap = TextBitmap(QStringLiteral("Manque de mémoire"));
    prompter.outOfMemory();
    return {bitmap, bitmap.size(), true};
}

std::optional<QImage> LoadBookPage(const BookPages &state, std::int32_t image,
                                   const WantedPictureSize &wanted)
{
    Bytes record;
    if (!state.Book.isOpen() || !state.Book.read(image, record))
        return std::nullopt;
    return DecodeJpegImage(record, wanted);
}

QImage LoadPdfPage(const BookPages &state, std::int32_t page, const PageRenderEnv &env,
                   const WantedPictureSize &wanted)
{
    // The interpreter reads the document that was opened and counted, through the name of
    // its descriptor, whatever is at its path by now.
    if (state.Book.descriptor() < 0)
        throw BookFormatError(CannotOpenFileMessage(state.CurrentFile).toStdString());
    const QString document = DescriptorName(state.Book.descriptor());
    const QString output = RenderingPath(state.CurrentFile, page);
    QDir().mkpath(QFileInfo(output).path());
    // A page is rendered only into a raster of its size, read before.
    const std::optional<PdfPageSize> size = PdfPageSizeIn(state.Book.stream(), page);
    if (!size) {
        QFile::remove(output);
        throw FileReadError(CannotReadFileMessage(state.CurrentFile.toStdString()));
    }
    if (const auto library = GhostscriptLibrary::load(env.ghostscriptDir)) {
        // Only what this run writes is shown: a page past the end writes nothing, and a
        // failed run may leave a partial page.
        QFile::remove(output);
        if (!library->run(GhostscriptPageArguments(env.programPath, document, page, output,
                                                   FitPdfPageRaster(*size))))
            QFile::remove(output);
    } else {
        // "librairie" (for "bibliothèque") is the program's own word, kept as it stands.
        env.prompter.error(
            QStringLiteral("Erreur lors du chargement de la librairie Ghostscript."));
    }
    env.ui.processPendingEvents();
    return DecodeJpegImageFile(output, wanted);
}

// The page's bitmap with the page's full size: the size of its picture before any scaling,
// or the bitmap's own when the page is no decoded picture (a blank or an error bitmap).
PageBitmap LoadPage(const BookPages &state, std::int32_t image, const PageRenderEnv &env,
                    const WantedPictureSize &wanted)
{
    const auto withOwnSize = [](std::optional<QImage> bitmap) {
        const QSize size = bitmap ? bitmap->size() : QSize();
        return PageBitmap{std::move(bitmap), size};
    };
    if (!QFileInfo(state.CurrentFile).isFile()) {
        env.prompter.error(CannotOpenFileMessage(state.CurrentFile));
        return withOwnSize(BlankBitmap(env.pageControlSize));
    }
    try {
        QSize fullSize;
        const WantedPictureSize noting = [&](QSize full) {
            fullSize = full;
            return wanted(full);
        };
        const WantedPictureSize &scale = wanted ? noting : wanted;
        std::optional<QImage> bitmap;
        if (!IsPdfFile(state.CurrentFile))
            bitmap = LoadBookPage(state, image, scale);
        else if (image < 0)
            bitmap = QImage();
        else
            bitmap = LoadPdfPage(state, image, env, scale);
        PageBitmap page = withOwnSize(std::move(bitmap));
        if (fullSize.isValid())
            page.pageSize = fullSize;
        return page;
    } catch (const std::bad_alloc &) {
        return OutOfMemoryBitmap(env.prompter);
    } catch (const jpeg::JpegError &error) {
        return error.outOfMemory() ? OutOfMemoryBitmap(env.prompter)
                                   : withOwnSize(TextBitmap(IncorrectImageText));
    } catch (const UserError &) {
        return withOwnSize(TextBitmap(IncorrectImageText));
    }
}

} // namespace

std::optional<QImage> LoadPageBitmap(const BookPages &state, std::int32_t image,
                                     const PageRenderEnv &env)
{
    return LoadPage(state, image, env, {}).bitmap;
}

PageBitmap LoadPageThumbnail(const BookPages &state, std::int32_t image, const PageRenderEnv &env,
                             const WantedPictureSize &wanted)
{
    return LoadPage(state, image, env, wanted);
}

QString RenderingPath(const QString &pdfPath, std::int32_t page)
{
    const QFileInfo document(pdfPath);
    const QByteArray folder =
        QCryptographicHash::hash(document.absoluteFilePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return renderingDirectory.path() + '/' + QString::fromLatin1(folder) + '/' +
           document.completeBaseName() + ".jpg" + QString::number(page);
}

QStringList GhostscriptPageArguments(const QString &programPath, const QString &pdfPath,
                                     std::int32_t page, const QString &renderingPath,
                                     const PdfPageRaster &raster)
{
    const QString pageNumber = QString::number(page + 1);
    return QStringList{programPath,
                       QStringLiteral("-q"),
                       QStringLiteral("-dBATCH"),
                       QStringLiteral("-dSAFER"),
                       QStringLiteral("-dNOPAUSE"),
                       QStringLiteral("-sDEVICE=jpeg")} +
           GhostscriptRasterArguments(raster) +
           QStringList{"-dFirstPage=" + pageNumber, "-dLastPage=" + pageNumber,
                       GhostscriptOutputArgument(renderingPath), "-f" + pdfPath};
}
