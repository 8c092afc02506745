#include "app/core/tools/PageExtraction.h"

#include "app/book/BookLayout.h"
#include "app/core/description/Description.h"
#include "app/core/files/OpenFile.h"
#include "app/core/seams/Prompter.h"
#include "platform/AtomicWrite.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::AtomicFileWriter;

const char *const ExtractionProblem = "Un problème est survenu lors de l'extraction.";

// One file to write: the image record and the file's name without its extension.
struct PageFile {
    std::int32_t record;
    QString name;
};

// Every file to write, ordered by record. Names are handed out in book order, so of two
// pages whose labels name the same file the later one takes the suffix.
std::vector<PageFile> PageFiles(const BookPages &state)
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

// Copies an image record into target.
void CopyRecord(std::istream &stream, const BookRecord &record, const fs::path &target)
{
    AtomicFileWriter out(target);
    std::vector<std::uint8_t> block(std::size_t(std::min<std::int64_t>(record.length, 1 << 20)));
    ReadRecordBlocks(stream, record, block, [&out](std::span<const std::uint8_t> bytes) {
        out.write(bytes.data(), bytes.size());
    });
    out.commit();
}

// Walks the chain once, then copies every record that files name; the chain is checked whole
// before the first file is written.
void WriteFiles(std::istream &stream, const fs::path &folder, const std::vector<PageFile> &files)
{
    const BookLayout layout = BookLayout::Read(stream);
    if (layout.recordCount() == 0)
        throw BookFormatError(ExtractionProblem);
    if (!files.empty() && files.back().record >= layout.imageCount())
        throw BookFormatError(ExtractionProblem);

    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error))
        throw FileWriteError("Impossible de créer le dossier " + folder.string() + ".");

    for (const PageFile &file : files)
        CopyRecord(stream, layout.record(file.record), folder / (file.name + ".jpg").toStdString());

    const std::optional<BookRecord> metaRecord = layout.metaRecord();
    if (!metaRecord)
        return;
    Bytes meta;
    ReadIndexedRecord(stream, *metaRecord, meta);
    const Bytes description = DescriptionOf(std::move(meta));
    if (description.empty())
        return;
    AtomicFileWriter out(folder / "Description.rtf");
    out.write(description.data(), description.size());
    out.commit();
}

} // namespace

void ExtractPages(const BookPages &state, Prompter &prompter,
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
        if (!state.Book.isOpen())
            throw BookFormatError(ExtractionProblem);
        WriteFiles(state.Book.stream(), target, PageFiles(state));
    } catch (const BookFormatError &) {
        prompter.error(QString::fromUtf8(ExtractionProblem));
    } catch (const FileWriteError &failure) {
        prompter.error(QString::fromStdString(failure.what()));
    }
}
