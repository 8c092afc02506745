#include "app/core/pages/PageList.h"

#include "app/book/BookFile.h"
#include "app/core/files/Md5.h"
#include "app/core/files/OpenFile.h"
#include "app/core/pages/MetaData.h"
#include "app/core/pages/PdfPageCount.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace {

// For a book without image or a PDF without page.
QString noImageMessage(const QString &fileName)
{
    return QStringLiteral("Le fichier ") + fileName + QStringLiteral(" ne contient aucune image.");
}

// Image records of the book: the records less the meta record, told by its first byte, the
// only byte of it read here (the walk never counts an empty last record).
std::int32_t countBookImages(BookPages &state)
{
    std::istream &stream = state.Book.stream();
    const std::vector<BookRecord> &records = state.Book.records();
    if (records.empty())
        return 0;
    std::uint8_t first = 0;
    ReadBookBytes(stream, records.back().offset, {&first, 1});
    const bool hasMetaRecord = first != 0xFF;
    state.DescriptionMenuVisible = hasMetaRecord;
    const auto count = static_cast<std::int32_t>(records.size());
    return hasMetaRecord ? count - 1 : count;
}

// The MD5 text of a record, hashed block by block as it is read.
std::string md5TextOf(std::istream &stream, const BookRecord &record,
                      std::vector<std::uint8_t> &block)
{
    MD5Context context;
    MD5Init(context);
    ReadRecordBlocks(stream, record, block, [&](std::span<const std::uint8_t> bytes) {
        MD5Update(context, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    });
    MD5Digest digest;
    MD5Final(context, digest);
    return MD5DigestToText(digest);
}

// Compares the k-th MD5 text with record k; one message per image that differs. A text
// for a record that does not exist compares with the digest of no bytes, once. Each record
// is read once, straight into the hash.
void checkImages(std::istream &stream, const std::vector<BookRecord> &records,
                 const std::vector<std::string> &texts, Prompter &prompter)
{
    std::vector<std::uint8_t> block(std::size_t(256) << 10);
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const bool exists = k < records.size();
        const std::string text = exists ? md5TextOf(stream, records[k], block) : MD5TextOf("", 0);
        if (text != texts[k])
            prompter.error(QStringLiteral("La vérification a échouée pour l'image N° %1.").arg(k));
        if (!exists)
            return;
    }
}

BookMetaData readBookMetaData(BookPages &state, std::int32_t imageCount, Prompter &prompter)
{
    std::istream &stream = state.Book.stream();
    const std::vector<BookRecord> &records = state.Book.records();
    Bytes record;
    if (static_cast<std::size_t>(imageCount) < records.size())
        ReadIndexedRecord(stream, records[static_cast<std::size_t>(imageCount)], record);
    std::optional<BookMetaData> meta;
    try {
        meta = ReadMetaData(record, imageCount);
    } catch (const DamagedMetaData &) {
        prompter.error(QStringLiteral("Les informations de numérotation du fichier ") +
                       state.CurrentFile +
                       QStringLiteral(" sont endommagées : les images sont affichées dans "
                                      "l'ordre du fichier."));
        return {};
    }
    if (!meta)
        return {};
    checkImages(stream, records, meta->Md5Texts, prompter);
    return *meta;
}

void commit(BookPages &state, const BookMetaData &meta, const NumberingRun &run,
            std::int32_t imageCount)
{
    std::vector<PageEntry> pages;
    pages.reserve(run.entries().size());
    for (const NumberingRun::Slot &slot : run.entries())
        pages.push_back({slot.label, slot.item});
    state.PageList = std::move(pages);
    state.BookConstraints = meta.Constraints;
    state.HasPresentation = meta.HasPresentation;
    state.HasCover = meta.HasCover;
    state.PremsCount = meta.PremsCount;
    state.ListePagesCount = meta.ListePagesCount;
    state.QuatrsCount = meta.QuatrsCount;
    state.LeadCount = meta.leadCount();
    state.BlankCount += run.blankCount();
    state.PageCountCache = imageCount - state.LeadCount + run.blankCount();
}

} // namespace

std::int32_t FindConstraintByIndex(const std::vector<NumberingConstraint> &BookConstraints,
                                   std::int32_t key)
{
    for (std::size_t i = 0; i < BookConstraints.size(); ++i)
        if (BookConstraints[i].Key == key)
            return static_cast<std::int32_t>(i);
    return -1;
}

std::int32_t CountPages(BookPages &state, Prompter &prompter, UiHooks &ui)
{
    std::int32_t count = 0;
    std::error_code error;
    (void)std::filesystem::last_write_time(state.CurrentFile.toStdString(), error); // its age
    if (error) {
        prompter.error(CannotOpenFileMessage(state.CurrentFile));
    } else if (IsPdfFile(state.CurrentFile)) {
        state.DescriptionMenuVisible = false;
        state.DescriptionCommandEnabled = false;
        // A copy of the name: counting lets messages run, and closing the window clears it.
        count = CountPdfPages(QString(state.CurrentFile), ui);
        if (count < 0) {
            prompter.error(QStringLiteral("Impossible de lire le nombre de pages du fichier ") +
                           state.CurrentFile + '.');
            count = 0;
        } else if (count == 0) {
            prompter.error(noImageMessage(state.CurrentFile));
        }
    } else {
        state.DescriptionMenuVisible = false;
        state.DescriptionCommandEnabled = true;
        try {
            count = countBookImages(state);
            if (count == 0)
                prompter.error(noImageMessage(state.CurrentFile));
        } catch (const UserError &) {
            prompter.error(CannotOpenFileMessage(state.CurrentFile));
            count = 0;
        }
    }
    state.PageCountCache = count;
    return count;
}

void BuildPageList(BookPages &state, Prompter &prompter)
{
    const std::int32_t imageCount = std::max(state.PageCountCache, 0);
    const bool pdf = IsPdfFile(state.CurrentFile);
    BookMetaData meta;
    if (!pdf && imageCount > 0) {
        try {
            meta = readBookMetaData(state, imageCount, prompter);
        } catch (const UserError &) {
            prompter.error(CannotOpenFileMessage(state.CurrentFile));
            commit(state, {}, NumberingRun(PageListPolicy), 0);
            return;
        }
    }

    const std::int32_t lead = meta.leadCount();
    NumberingRun run(PageListPolicy);
    std::int32_t position = 0; // running position among the pages that are not blank
    const auto placeGroup = [&](std::int32_t count) {
        for (std::int32_t k = 0; k < count; ++k, ++position) {
            const std::int32_t found = FindConstraintByIndex(meta.Constraints, position);
            const std::int32_t page = position;
            run.placePage(position + lead, found >= 0 ? &meta.Constraints[found] : nullptr, [&] {
                prompter.error(QStringLiteral("La contrainte concernant la numérotation sur "
                                              "l'image N° %1 ne peut être respectée.")
                                   .arg(page));
            });
        }
    };

    // A PDF's pages run like front covers: numbered in order, made even by one blank.
    placeGroup(pdf ? imageCount : meta.PremsCount);
    if (run.entries().size() % 2 == 1)
        run.placeBlank();
    placeGroup(meta.ListePagesCount);
    run.closeInterior(meta.QuatrsCount, meta.ListePagesCount != 0);
    placeGroup(meta.QuatrsCount);
    // No page named by the metadata: one page per image after the leading ones.
    if (run.entries().empty())
        for (std::int32_t image = lead; image < imageCount; ++image)
            run.placePage(image, nullptr, [] {});
    commit(state, meta, run, imageCount);
}
