// The cutting of Ghostscript's output file into pages. The first input byte chooses the read
// chunk (0: the program's own), so that markers fall across every chunk seam; the rest is the
// output file.
#include "app/core/tools/PdfToBook.h"
#include "fuzz/Fuzz.h"
#include "fuzz/FuzzFolder.h"

#include <QFile>

#include <algorithm>
#include <string_view>

namespace {

std::string_view asText(const QByteArray &bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

} // namespace

void FuzzInput(std::span<const std::uint8_t> data)
{
    if (data.empty())
        return;
    static const std::filesystem::path output = FuzzFolder() / "sortie.jpg";
    const qint64 chunkLimit = data[0] == 0 ? JpegChunkLimit : data[0];
    const std::span<const std::uint8_t> file = data.subspan(1);
    WriteFuzzFile(output, file);

    const QString path = QString::fromStdString(output.string());
    const QStringList pieces = SplitJpegPages(path, path, chunkLimit);
    QByteArray joined;
    for (qsizetype k = 0; k < pieces.size(); ++k) {
        QFile piece(pieces[k]);
        if (!piece.open(QIODevice::ReadOnly))
            FuzzFault("a piece cannot be read back");
        const QByteArray bytes = piece.readAll();
        piece.close();
        QFile::remove(pieces[k]);
        if (bytes.isEmpty())
            FuzzFault("an empty piece");
        // A piece's first bytes are its own marker: no other one can begin before it ends, and
        // in a file that does not start with one, they are not searched either.
        if (asText(bytes).find(JfifStartMarker, JfifStartMarker.size() - 1) !=
            std::string_view::npos)
            FuzzFault("a page marker inside a piece");
        if (k > 0 && !asText(bytes).starts_with(JfifStartMarker))
            FuzzFault("a piece after the first does not start with the page marker");
        joined += bytes;
    }
    if (!std::ranges::equal(asText(joined), file,
                            [](char a, std::uint8_t b) { return std::uint8_t(a) == b; }))
        FuzzFault("the pieces do not give the output back");
}
