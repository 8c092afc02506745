#include "app/core/files/BookWriter.h"

#include "app/core/files/FileStream.h"
#include "app/core/files/Md5.h"
#include "app/core/files/OpenBook.h"
#include "app/core/files/OpenFile.h"
#include "app/core/files/ReadOnlyFile.h"
#include "app/core/seams/Prompter.h"

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

[[noreturn]] void refuseTooLarge(const std::filesystem::path &source)
{
    throw FileWriteError("Le fichier " + source.string() +
                         " est trop volumineux pour une bande dessinée.");
}

// The size of a source image as the file system gives it, before the image is read.
std::int64_t statedImageSize(const std::filesystem::path &source)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(source, error);
    if (error)
        throw FileReadError(CannotOpenFileMessage(source.string()));
    if (size > INT32_MAX)
        refuseTooLarge(source);
    return std::int64_t(size);
}

// Size of the source image open as file, after checking that it can be stored as a record.
std::int64_t checkedImageSize(const ReadOnlyFile &file, const std::filesystem::path &source)
{
    const std::int64_t size = file.regularFileSize();
    if (size < 0)
        throw FileReadError(CannotOpenFileMessage(source.string()));
    std::array<std::uint8_t, 2> start{};
    if (size < 2 || !file.readAt(start.data(), 2, 0) || start[0] != 0xFF || start[1] != 0xD8)
        throw FileWriteError("Le fichier " + source.string() + " n'est pas une image JPEG.");
    if (size > INT32_MAX)
        refuseTooLarge(source);
    return size;
}

// Copies count bytes of the source open as file into out and gives their MD5 text.
std::string copyWithMd5Text(AtomicFileWriter &out, const ReadOnlyFile &file,
                            const std::filesystem::path &source, std::int64_t count)
{
    MD5Context context;
    MD5Init(context);
    out.copyFrom(file.get(), source, count, [&context](const void *bytes, std::size_t length) {
        MD5Update(context, bytes, std::uint32_t(length));
    });
    MD5Digest digest;
    MD5Final(context, digest);
    return MD5DigestToText(digest);
}

// What a new description keeps of a book: its first keep bytes (the records in front of the
// meta record), the tail of its meta record from "%EOF" on, and its trailer.
struct BookEnd {
    std::int64_t keep = 0;
    Bytes tail;
    std::array<std::uint8_t, 4> trailer{};
};

// The end of the book read through stream, from a walk of its chain as it is now; none when
// the book cannot be read or holds no image.
std::optional<BookEnd> readBookEnd(std::istream &stream)
{
    try {
        const BookLayout layout = BookLayout::Read(stream);
        if (layout.imageCount() < 1)
            return std::nullopt;
        // Only the last record may be the meta record: the new one takes its place, or follows
        // the last image when there is none.
        const BookRecord last = layout.record(layout.recordCount() - 1);
        BookEnd end{last.offset + last.length, {}, {}};
        if (layout.hasMetaRecord()) {
            end.keep = last.offset - 4;
            Bytes meta;
            ReadIndexedRecord(stream, last, meta);
            const std::int32_t eof = FindBytes("%EOF", meta.data(), std::int32_t(meta.size()), 1);
            if (eof >= 0)
                end.tail.assign(meta.begin() + eof, meta.end());
        }
        stream.clear();
        const std::int64_t size =
            stream.seekg(0, std::ios::end) ? std::int64_t(stream.tellg()) : -1;
        if (size < 4)
            return std::nullopt;
        ReadBookBytes(stream, size - 4, end.trailer);
        return end;
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
    std::int64_t bookSize = 0; // the records, their lengths and the trailer
    const auto checkBookSize = [&] {
        if (bookSize > INT32_MAX)
            throw FileWriteError("La bande dessinée " + target.string() +
                                 " dépasserait la taille permise de 2 Go.");
    };
    // What the file system says of the sources refuses a book before anything is written;
    // each image is then read through one descriptor, which gives its record its length and
    // bytes, and checked again.
    for (const QString &file : files) {
        const std::filesystem::path source = toPath(file);
        bookSize += statedImageSize(source) + 4;
        std::error_code ignored;
        if (std::filesystem::equivalent(source, target, ignored))
            throw FileWriteError("Le fichier " + target.string() +
                                 " est aussi une des images de la bande dessinée.");
    }
    checkBookSize();

    AtomicFileWriter out(target);
    bookSize = 0;
    std::int64_t firstSize = 0;
    std::vector<std::string> md5Texts;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const std::filesystem::path source = toPath(files[i]);
        const ReadOnlyFile file(source);
        const std::int64_t size = checkedImageSize(file, source);
        bookSize += size + 4;
        checkBookSize();
        if (i == 0)
            firstSize = size;
        else
            writeLength(out, std::uint64_t(size));
        if (makeMeta)
            md5Texts.push_back(copyWithMd5Text(out, file, source, size));
        else
            out.copyFrom(file.get(), source, size);
    }
    if (makeMeta) {
        const Bytes meta = makeMeta(md5Texts);
        bookSize += std::int64_t(meta.size()) + 4;
        checkBookSize();
        writeLength(out, meta.size());
        out.write(meta.data(), meta.size());
    }
    writeLength(out, std::uint64_t(firstSize));
    out.commit();
}

bool WriteDescription(OpenBook &book, Prompter &prompter, const Bytes &rtf)
{
    if (IsPdfFile(book.path()))
        return false;

    // The book at the path now is read through one descriptor, from the walk of its chain to
    // the copy of its records, and replaced only while it is still that book: the description
    // goes onto one book, whole, whatever is put at the path meanwhile.
    const std::filesystem::path path = toPath(book.path());
    FileStream file(path);
    const std::optional<platform::FileIdentity> identity = platform::IdentityOf(file.descriptor());
    const std::optional<BookEnd> end = identity ? readBookEnd(file) : std::nullopt;
    if (!end) {
        prompter.error(CannotOpenFileMessage(book.path()));
        return false;
    }

    AtomicFileWriter out(path, identity);
    out.copyFrom(file.descriptor(), path, end->keep);
    const std::uint64_t recordSize = rtf.size() + end->tail.size();
    if (recordSize > 0) {
        writeLength(out, recordSize);
        out.write(rtf.data(), rtf.size());
        out.write(end->tail.data(), end->tail.size());
    }
    out.write(end->trailer.data(), end->trailer.size());
    out.commit();
    // The open book, read until now, is left for the one just written.
    book = OpenBook::open(book.path());
    return true;
}
