#include "app/core/files/BookWriter.h"

#include "app/core/files/Md5.h"
#include "app/core/files/OpenBook.h"
#include "app/core/files/OpenFile.h"
#include "app/core/files/ReadOnlyFile.h"
#include "app/core/seams/Prompter.h"

#include <QScopeGuard>

#include <array>
#include <climits>
#include <optional>
#include <system_error>

namespace {

using platform::AtomicFileWriter;

std::filesystem::path toPath(const QString &path)
{
    return path.toStdString();
}

std::array<std::uint8_t, 4> littleEndian(std::uint32_t value)
{
    return {std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
            std::uint8_t(value >> 24)};
}

void writeLength(AtomicFileWriter &out, std::uint64_t length)
{
    if (length > INT32_MAX)
        throw FileWriteError("Le fichier " + out.target().string() +
                             " dépasserait la taille permise pour un enregistrement.");
    const auto bytes = littleEndian(static_cast<std::uint32_t>(length));
    out.write(bytes.data(), bytes.size());
}

// Size of one source image, after checking that it can be stored as a record.
std::int64_t checkedImageSize(const std::filesystem::path &source)
{
    const ReadOnlyFile file(source);
    const std::int64_t size = file.regularFileSize();
    if (size < 0)
        throw FileReadError(CannotOpenFileMessage(source.string()));
    std::array<std::uint8_t, 2> start{};
    if (size < 2 || !file.readAt(start.data(), 2, 0) || start[0] != 0xFF || start[1] != 0xD8)
        throw FileWriteError("Le fichier " + source.string() + " n'est pas une image JPEG.");
    if (size > INT32_MAX)
        throw FileWriteError("Le fichier " + source.string() +
                             " est trop volumineux pour une bande dessinée.");
    return size;
}

// Copies count bytes of source into out and gives their MD5 text.
std::string copyWithMd5Text(AtomicFileWriter &out, const std::filesystem::path &source,
                            std::int64_t count)
{
    MD5Context context;
    MD5Init(context);
    out.copyFrom(source, count, [&context](const void *bytes, std::size_t length) {
        MD5Update(context, bytes, std::uint32_t(length));
    });
    MD5Digest digest;
    MD5Final(context, digest);
    return MD5DigestToText(digest);
}

// Rewrites book as its first keep bytes, then record behind its length (nothing when record
// is empty), then the book's trailer.
void replaceBookEnd(const std::filesystem::path &book, std::int64_t keep, const Bytes &record)
{
    std::array<std::uint8_t, 4> trailer{};
    {
        const ReadOnlyFile file(book);
        const std::int64_t size = file.regularFileSize();
        if (size < 0)
            throw FileReadError(CannotOpenFileMessage(book.string()));
        if (size < 4 || keep < 0 || keep > size - 4 || !file.readAt(trailer.data(), 4, size - 4))
            throw FileWriteError("Le fichier " + book.string() +
                                 " n'est pas une bande dessinée valide.");
    }
    AtomicFileWriter out(book);
    out.copyFrom(book, keep);
    if (!record.empty()) {
        writeLength(out, record.size());
        out.write(record.data(), record.size());
    }
    out.write(trailer.data(), trailer.size());
    out.commit();
}

// The last record of the book, from a walk of its chain as it is now, with its bytes when it
// is the meta record; none when the book cannot be read or holds no image.
struct LastRecord {
    BookRecord location;
    bool isMeta = false;
    Bytes bytes;
};

std::optional<LastRecord> readLastRecord(const OpenBook &book)
{
    if (!book.isOpen())
        return std::nullopt;
    std::istream &stream = book.stream();
    try {
        const BookLayout layout = BookLayout::Read(stream);
        if (layout.imageCount() < 1)
            return std::nullopt;
        LastRecord last{layout.record(layout.recordCount() - 1), layout.hasMetaRecord(), {}};
        if (last.isMeta)
            ReadIndexedRecord(stream, last.location, last.bytes);
        return last;
    } catch (const BookFormatError &) {
        return std::nullopt;
    }
}

} // namespace

void WriteBookImages(const QStringList &files, const QString &destination,
                     const MetaRecordMaker &makeMeta)
{
    if (files.isEmpty())
        throw FileWriteError("Aucune image à mettre dans la bande dessinée " +
                             destination.toStdString() + ".");
    const std::filesystem::path target = toPath(destination);
    std::vector<std::int64_t> sizes;
    std::int64_t bookSize = 0; // the records, their lengths and the trailer
    for (const QString &file : files) {
        const std::filesystem::path source = toPath(file);
        sizes.push_back(checkedImageSize(source));
        bookSize += sizes.back() + 4;
        std::error_code ignored;
        if (std::filesystem::equivalent(source, target, ignored))
            throw FileWriteError("Le fichier " + target.string() +
                                 " est aussi une des images de la bande dessinée.");
    }
    const auto checkBookSize = [&] {
        if (bookSize > INT32_MAX)
            throw FileWriteError("La bande dessinée " + target.string() +
                                 " dépasserait la taille permise de 2 Go.");
    };
    checkBookSize();

    AtomicFileWriter out(target);
    std::vector<std::string> md5Texts;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const std::int64_t size = sizes[std::size_t(i)];
        if (i > 0)
            writeLength(out, std::uint64_t(size));
        if (makeMeta)
            md5Texts.push_back(copyWithMd5Text(out, toPath(files[i]), size));
        else
            out.copyFrom(toPath(files[i]), size);
    }
    if (makeMeta) {
        const Bytes meta = makeMeta(md5Texts);
        bookSize += std::int64_t(meta.size()) + 4;
        checkBookSize();
        writeLength(out, meta.size());
        out.write(meta.data(), meta.size());
    }
    writeLength(out, std::uint64_t(sizes.front()));
    out.commit();
}

bool WriteDescription(OpenBook &book, Prompter &prompter, const Bytes &rtf)
{
    if (IsPdfFile(book.path()))
        return false;

    const std::optional<LastRecord> last = readLastRecord(book);
    if (!last) {
        prompter.error(CannotOpenFileMessage(book.path()));
        return false;
    }

    // Only the last record may be the meta record: the new one takes its place, or follows
    // the last image when there is none.
    Bytes record = rtf;
    std::int64_t keep = last->location.offset + last->location.length;
    if (last->isMeta) {
        keep = last->location.offset - 4;
        const std::int32_t eof =
            FindBytes("%EOF", last->bytes.data(), std::int32_t(last->bytes.size()), 1);
        if (eof >= 0)
            record.insert(record.end(), last->bytes.begin() + eof, last->bytes.end());
    }

    // The book is closed while it is rewritten and opened again however the rewrite ends.
    const QString path = book.path();
    const auto reopen = qScopeGuard([&] { book = OpenBook::open(path); });
    book = OpenBook();
    replaceBookEnd(toPath(path), keep, record);
    return true;
}
