#include "app/core/pages/PageList.h"

#include "app/core/files/Md5.h"
#include "app/core/files/OpenFile.h"
#include "app/core/pages/MetaData.h"
#include "app/core/pages/PdfPageCount.h"
#include "app/text/UserError.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>
#include <unordered_map>

namespace {

// For a book without image or a PDF without page.
QString noImageMessage(const QString &fileName)
{
    return QStringLiteral("Le fichier ") + fileName + QStringLiteral(" ne contient aucune image.");
}

// The MD5 text of record k: from the digest the opening walk made, or hashed block by block
// as the record is read now.
std::string md5TextOf(const OpenBook &book, std::int32_t k, std::vector<std::uint8_t> &block)
{
    std::optional<MD5Digest> digest = book.walkDigest(k);
    if (!digest) {
        if (block.empty())
            block.resize(std::size_t(256) << 10);
        MD5Context context;
        MD5Init(context);
        ReadRecordBlocks(book.stream(), book.layout().record(k), block,
                         [&](std::span<const std::uint8_t> bytes) {
                             MD5Update(context, bytes.data(),
                                       static_cast<std::uint32_t>(bytes.size()));
                         });
        MD5Final(context, digest.emplace());
    }
    return MD5DigestToText(*digest);
}

// Compares the k-th MD5 text with record k; one message per image that differs. A text
// for a record that does not exist compares with the digest of no bytes, once. No record is
// read that the opening walk read already.
void checkImages(const OpenBook &book, const std::vector<std::string> &texts, Prompter &prompter)
{
    std::vector<std::uint8_t> block;
    const std::int32_t records = book.layout().recordCount();
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const bool exists = k < static_cast<std::size_t>(records);
        const std::string text =
            exists ? md5TextOf(book, static_cast<std::int32_t>(k), block) : MD5TextOf("", 0);
        if (text != texts[k])
            // "a échouée" is the program's own text, kept as it stands.
            prompter.error(QStringLiteral("La vérification a échouée pour l'image N° %1.").arg(k));
        if (!exists)
            return;
    }
}

BookMetaData readBookMetaData(BookPages &state, std::int32_t imageCount, Prompter &prompter)
{
    Bytes record;
    if (const std::optional<BookRecord> meta = state.Book.layout().metaRecord())
        ReadIndexedRecord(state.Book.stream(), *meta, record);
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
    checkImages(state.Book, meta->Md5Texts, prompter);
    return *meta;
}

void commit(BookPages &state, const BookMetaData &meta, NumberingRun &run, std::int32_t imageCount)
{
    state.PageList = run.takeEntries();
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

// The page list of the open document, as BuildPageList says.
void buildPageList(BookPages &state, Prompter &prompter)
{
    const std::int32_t imageCount = std::max(state.PageCountCache, 0);
    const bool pdf = IsPdfFile(state.CurrentFile);
    BookMetaData meta;
    if (!pdf && imageCount > 0) {
        try {
            meta = readBookMetaData(state, imageCount, prompter);
        } catch (const UserError &) {
            prompter.error(CannotOpenFileMessage(state.CurrentFile));
            NumberingRun none(PageListPolicy);
            commit(state, {}, none, 0);
            return;
        }
    }

    // The first constraint on each position, found at once for every page.
    std::unordered_map<std::int32_t, const NumberingConstraint *> constraints;
    for (const NumberingConstraint &constraint : meta.Constraints)
        constraints.emplace(std::int32_t{constraint.Key}, &constraint); // Key is packed
    const std::int32_t lead = meta.leadCount();
    NumberingRun run(PageListPolicy);
    run.reserve(static_cast<std::size_t>(imageCount) + 2); // one entry per image, most often
    std::int32_t position = 0; // running position among the pages that are not blank
    const auto placeGroup = [&](std::int32_t count) {
        for (std::int32_t k = 0; k < count; ++k, ++position) {
            const auto found = constraints.find(position);
            const std::int32_t page = position;
            run.placePage(position + lead, found != constraints.end() ? found->second : nullptr,
                          [&] {
                              prompter.error(QStringLiteral("La contrainte concernant la "
                                                            "numérotation sur l'image N° %1 ne "
                                                            "peut être respectée.")
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

// A failed allocation while opening: the document is closed and its pages dropped, which gives
// back the memory they held, before the message is shown.
void reportOutOfMemory(BookPages &state, Prompter &prompter)
{
    state.Book = OpenBook();
    state.PageList = {};
    state.BookConstraints = {};
    state.PageCountCache = 0;
    prompter.outOfMemory();
}

} // namespace

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
        // Counted through the stream the document was opened with, which its pages are
        // rendered from too.
        try {
            count = CountPdfPages(state.Book, ui);
        } catch (const std::bad_alloc &) {
            reportOutOfMemory(state, prompter);
            return 0;
        }
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
            const BookLayout &layout = state.Book.layout();
            state.DescriptionMenuVisible = layout.hasMetaRecord();
            count = layout.imageCount();
            if (count == 0)
                prompter.error(noImageMessage(state.CurrentFile));
        } catch (const std::bad_alloc &) {
            reportOutOfMemory(state, prompter);
            return 0;
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
    try {
        buildPageList(state, prompter);
    } catch (const std::bad_alloc &) {
        reportOutOfMemory(state, prompter);
    }
}
