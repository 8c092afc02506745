#include "app/core/PageExtraction.h"

#include "app/book/BookFile.h"
#include "app/core/AtomicFile.h"
#include "app/core/Description.h"
#include "app/core/OpenFile.h"
#include "app/core/Prompter.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <array>
#include <filesystem>
#include <limits>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char *const ExtractionProblem = "Un problème est survenu lors de l'extraction.";

// One file to write: the image record and the file's name without its extension.
struct PageFile {
    std::int32_t record;
    QString name;
};

// Every file to write, ordered by record. Names are handed out in book order, so of two
// pages whose labels name the same file the later one takes the suffix.
std::vector<PageFile> PageFiles(const MainWindowState &state)
{
    std::vector<PageFile> files;
    QSet<QString> taken; // case-folded, for file systems that ignore letter case
    const auto add = [&](std::int32_t record, const QString &label) {
        QString name = label;
        for (int n = 2; taken.contains(name.toCaseFolded()); ++n)
            name = QStringLiteral("%1 (%2)").arg(label).arg(n);
        taken.insert(name.toCaseFolded());
        files.push_back({record, name});
    };
    // The leading images, in this order, are the records before the first page.
    std::int32_t lead = 0;
    if (state.HasPresentation)
        add(lead++, QStringLiteral("Présentation"));
    if (state.HasCover)
        add(lead++, QStringLiteral("Couverture"));
    for (const PageEntry &entry : state.PageList)
        if (entry.Image >= 0)
            add(entry.Image, entry.Name);
    std::stable_sort(files.begin(), files.end(),
                     [](const PageFile &a, const PageFile &b) { return a.record < b.record; });
    return files;
}

void Seek(std::istream &stream, std::int64_t position)
{
    if (!stream.seekg(position, std::ios::beg))
        throw BookFormatError(ExtractionProblem);
}

void Read(std::istream &stream, char *out, std::int64_t count)
{
    if (!stream.read(out, count) || stream.gcount() != count)
        throw BookFormatError(ExtractionProblem);
}

std::int64_t ReadLength(std::istream &stream)
{
    std::array<unsigned char, 4> bytes{};
    Read(stream, reinterpret_cast<char *>(bytes.data()), 4);
    return static_cast<std::int32_t>(std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                                     std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24);
}

void CopyRecord(std::istream &stream, std::int64_t offset, std::int64_t length,
                const fs::path &target)
{
    AtomicFileWriter out(target);
    Seek(stream, offset);
    std::vector<char> block(std::size_t(std::min<std::int64_t>(length, 1 << 20)));
    for (std::int64_t left = length; left > 0;) {
        const auto count = std::min<std::int64_t>(left, std::int64_t(block.size()));
        Read(stream, block.data(), count);
        out.write(block.data(), std::size_t(count));
        left -= count;
    }
    out.commit();
}

// Walks the chain once, copying every record that files name; the chain is checked whole
// before the first file is written.
void WriteFiles(std::istream &stream, const fs::path &folder, const std::vector<PageFile> &files)
{
    const std::int32_t records =
        LocateBookRecord(stream, std::numeric_limits<std::int32_t>::max()).count;
    Bytes last;
    if (records == 0 || ReadBookRecord(stream, &last, records - 1) != -1)
        throw BookFormatError(ExtractionProblem);
    const bool hasMeta = !last.empty() && last.front() != 0xFF;
    const std::int32_t images = records - std::int32_t(hasMeta);
    if (!files.empty() && files.back().record >= images)
        throw BookFormatError(ExtractionProblem);

    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error))
        throw FileWriteError("Impossible de créer le dossier " + folder.string() + ".");

    stream.clear();
    stream.seekg(-4, std::ios::end);
    std::int64_t length = ReadLength(stream);
    std::int64_t offset = 0;
    auto next = files.begin();
    for (std::int32_t record = 0; next != files.end(); ++record) {
        if (record > 0) {
            Seek(stream, offset);
            length = ReadLength(stream);
            offset += 4;
        }
        if (length < 0) // the file changed since it was checked
            throw BookFormatError(ExtractionProblem);
        for (; next != files.end() && next->record == record; ++next)
            CopyRecord(stream, offset, length, folder / (next->name + ".jpg").toStdString());
        offset += length;
    }

    if (!hasMeta)
        return;
    const Bytes description = DescriptionOf(std::move(last));
    if (description.empty())
        return;
    AtomicFileWriter out(folder / "Description.rtf");
    out.write(description.data(), description.size());
    out.commit();
}

} // namespace

void ExtractPages(MainWindowState &state, Prompter &prompter,
                  const std::function<bool(QString &folder)> &chooseFolder)
{
    if (state.CurrentFile.isEmpty()) {
        prompter.information(QStringLiteral("Aucun fichier chargé."));
        return;
    }
    if (IsPdfFile(state.CurrentFile)) {
        prompter.information("Le fichier " + state.CurrentFile +
                             " est un document PDF : seules les pages d'une bande dessinée "
                             "peuvent être extraites.");
        return;
    }
    QString folder;
    if (!chooseFolder(folder))
        return;
    const fs::path target = fs::path(folder.toStdString()) /
                            QFileInfo(state.CurrentFile).completeBaseName().toStdString();
    try {
        if (!state.BookStream || !state.BookStream->is_open())
            throw BookFormatError(ExtractionProblem);
        WriteFiles(*state.BookStream, target, PageFiles(state));
    } catch (const BookFormatError &) {
        prompter.error(QString::fromUtf8(ExtractionProblem));
    } catch (const FileWriteError &failure) {
        prompter.error(QString::fromStdString(failure.what()));
    }
}
