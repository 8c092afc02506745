#include "app/core/tools/PdfToBook.h"

#include "app/book/BookFile.h"
#include "app/core/files/BookWriter.h"
#include "app/core/files/FileStream.h"
#include "app/core/files/OpenBook.h"
#include "app/core/files/OpenFile.h"
#include "app/core/files/OutputFile.h"
#include "app/core/files/TemporaryDirectory.h"
#include "app/core/pages/PdfPageSize.h"
#include "app/core/render/Ghostscript.h"
#include "app/core/seams/OutsidePrograms.h"
#include "app/core/seams/Prompter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype MarkerLength = qsizetype(JfifStartMarker.size());

[[noreturn]] void failWriting(const QString &path)
{
    throw FileWriteError("Impossible d'écrire le fichier " + path.toStdString() + ".");
}

// The page files, each opened when its first bytes come.
class PieceWriter {
public:
    explicit PieceWriter(QString prefix) : prefix_(std::move(prefix)) {}

    void write(const std::uint8_t *bytes, qsizetype count)
    {
        if (!piece_.isOpen()) {
            pieces_.append(prefix_ + QString::number(pieces_.size()));
            piece_.setFileName(pieces_.back());
            if (!piece_.open(QIODevice::WriteOnly | QIODevice::Truncate))
                failWriting(pieces_.back());
        }
        if (piece_.write(reinterpret_cast<const char *>(bytes), count) != count)
            failWriting(pieces_.back());
    }

    void endPiece()
    {
        if (!piece_.isOpen())
            return;
        if (!piece_.flush())
            failWriting(pieces_.back());
        piece_.close();
    }

    const QStringList &pieces() const { return pieces_; }

private:
    QString prefix_;
    QFile piece_;
    QStringList pieces_;
};

} // namespace

QStringList SplitJpegPages(const QString &output, const QString &piecePrefix, qint64 chunkLimit)
{
    QFile source(output);
    if (!source.open(QIODevice::ReadOnly))
        throw FileReadError(CannotOpenFileMessage(output.toStdString()));
    // Room for a page's own marker and the beginning of the next one.
    Bytes buffer(std::size_t(std::clamp<qint64>(source.size(), 2 * MarkerLength,
                                                std::max<qint64>(chunkLimit, 2 * MarkerLength))));
    PieceWriter pieces(piecePrefix);
    // buffer[begin, end) holds the bytes read and not yet written; when pageStart is set
    // buffer[begin] is the first byte of a page, whose own marker is not searched for.
    qsizetype begin = 0;
    qsizetype end = 0;
    bool pageStart = true;
    while (true) {
        std::memmove(buffer.data(), buffer.data() + begin, std::size_t(end - begin));
        end -= begin;
        begin = 0;
        const qint64 read =
            source.read(reinterpret_cast<char *>(buffer.data()) + end, qint64(buffer.size()) - end);
        if (read < 0)
            throw FileReadError(CannotReadFileMessage(output.toStdString()));
        end += read;
        const bool lastChunk = read == 0 || source.atEnd();

        while (true) {
            const std::int32_t hit =
                FindBytes(JfifStartMarker, buffer.data() + begin, std::int32_t(end - begin),
                          pageStart ? std::int32_t(MarkerLength) : 1);
            if (hit < 0)
                break;
            pieces.write(buffer.data() + begin, hit);
            pieces.endPiece();
            begin += hit;
            pageStart = true;
        }
        if (lastChunk) {
            if (end > begin)
                pieces.write(buffer.data() + begin, end - begin);
            pieces.endPiece();
            return pieces.pieces();
        }
        // The page goes on past the chunk: all of it but the bytes that may begin the next
        // page's marker is written now.
        const qsizetype keep = MarkerLength - 1;
        if (end - begin > keep) {
            pieces.write(buffer.data() + begin, end - keep - begin);
            begin = end - keep;
            pageStart = false;
        }
    }
}

std::vector<PdfRasterRun> PdfRasterRuns(const std::vector<PdfPageSize> &pages)
{
    std::vector<PdfRasterRun> runs;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const PdfPageRaster raster = FitPdfPageRaster(pages[i]);
        const auto page = static_cast<std::int32_t>(i) + 1;
        if (!runs.empty() && runs.back().raster == raster)
            runs.back().last = page;
        else
            runs.push_back({page, page, raster});
    }
    return runs;
}

QStringList GhostscriptBookArguments(const QString &pdf, const QString &output,
                                     const std::optional<PdfRasterRun> &run)
{
    QStringList arguments = {QStringLiteral("-dBATCH"), QStringLiteral("-dSAFER"),
                             QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=jpeg")};
    if (run)
        arguments << GhostscriptRasterArguments(run->raster)
                  << "-dFirstPage=" + QString::number(run->first)
                  << "-dLastPage=" + QString::number(run->last);
    else
        arguments << QStringLiteral("-r200x200");
    return arguments << GhostscriptOutputArgument(output) << "-f" + pdf;
}

void PdfToBook(const QString &pdf, const PdfToBookEnv &env)
{
    const QTemporaryDir work(GetTempDir() + QStringLiteral("/quirelle-pdf-XXXXXX"));
    if (!work.isValid())
        throw FileWriteError("Impossible de créer un dossier dans " + GetTempDir().toStdString() +
                             ".");
    const QFileInfo document(pdf);
    const QString output = work.filePath(document.completeBaseName() + QStringLiteral(".jpg"));

    // The document is opened once: its page sizes are read and the interpreter reads it through
    // that opening, whatever is put at its path meanwhile.
    FileStream file(QFile::encodeName(document.absoluteFilePath()).toStdString());
    if (!file.isOpen()) {
        env.prompter.error(CannotOpenFileMessage(pdf));
        return;
    }
    const QString source = DescriptorName(file.descriptor());
    std::vector<std::optional<PdfRasterRun>> runs = {std::nullopt};
    if (const auto sizes = PdfPageSizesIn(file); sizes && !sizes->empty()) {
        runs.clear();
        for (const PdfRasterRun &run : PdfRasterRuns(*sizes))
            runs.push_back(run);
    }

    int frame = 0;
    env.showWaitFrame(frame);
    QStringList pieces;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const ProgramExit exit =
            env.programs.run({GhostscriptConsolePath(env.ghostscriptDir),
                              GhostscriptBookArguments(source, output, runs[k]), work.path()},
                             env.ui, [&] {
                                 frame = (frame + 1) % WaitFrameCount;
                                 env.showWaitFrame(frame);
                                 return env.keepWaiting();
                             });
        switch (exit.outcome) {
        case ProgramExit::Outcome::Stopped: return;
        case ProgramExit::Outcome::NotStarted:
            env.prompter.error(QStringLiteral("Impossible de lancer Ghostscript."));
            return;
        default:
            if (!exit.succeeded()) {
                env.prompter.error(QStringLiteral("Ghostscript n'a pas pu convertir le fichier ") +
                                   pdf + QLatin1Char('.'));
                return;
            }
        }
        // The pieces of a later run are named after its number.
        const QString prefix = k == 0 ? output : output + QString::number(k) + QLatin1Char('-');
        if (QFileInfo::exists(output))
            pieces += SplitJpegPages(output, prefix);
        QFile::remove(output);
    }
    if (pieces.isEmpty()) {
        env.prompter.error(
            QStringLiteral("Ghostscript n'a produit aucune page à partir du fichier ") + pdf +
            QLatin1Char('.'));
        return;
    }

    const std::optional<QString> chosen = env.chooseBook();
    if (!chosen)
        return;
    const QString book = ReplaceExtension(*chosen, QStringLiteral(".bd"));
    // The dialog asked about the name it gave, not about the one with ".bd".
    if (book != *chosen && !MayReplace(env.prompter, book))
        return;
    WriteBookImages(pieces, book);
}
