#include "app/core/files/OpenBook.h"

#include "app/core/files/FileNames.h"
#include "app/core/files/FileStream.h"
#include "app/core/files/OpenFile.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

OpenBook::OpenBook(QString path, std::unique_ptr<std::istream> stream)
    : path_(std::move(path)), stream_(std::move(stream))
{
    if (IsPdfFile(path_))
        return;
    try {
        layout_ = BookLayout::Read(
            *stream_, [this](std::int32_t record, std::span<const std::uint8_t> bytes) {
                RecordDigest &seen = digests_.emplace_back(RecordDigest{record, {}});
                MD5Context context;
                MD5Init(context);
                MD5Update(context, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
                MD5Final(context, seen.digest);
            });
    } catch (...) {
        digests_ = {};
        walkFailure_ = std::current_exception();
    }
}

OpenBook OpenBook::open(const QString &path)
{
    const std::filesystem::path file = path.toStdString();
    std::error_code error;
    if (!MayNameAnotherFile(path) && !std::filesystem::is_directory(file, error)) {
        // Unbuffered: every read of a record or a block is one read() of its own length, not
        // rounded up to a stream buffer's.
        auto stream = std::make_unique<FileStream>(file);
        if (stream->isOpen()) {
            const int descriptor = stream->descriptor();
            OpenBook book(path, std::move(stream));
            book.descriptor_ = descriptor;
            return book;
        }
    }
    OpenBook unreadable;
    unreadable.path_ = path;
    return unreadable;
}

std::istream &OpenBook::stream() const
{
    if (!stream_)
        throw BookFormatError("Le fichier de la bande dessinée n'est pas ouvert.");
    return *stream_;
}

const BookLayout &OpenBook::layout() const
{
    if (walkFailure_)
        std::rethrow_exception(walkFailure_);
    return layout_;
}

bool OpenBook::read(std::int32_t k, Bytes &destination) const
{
    std::istream &in = stream();
    const BookLayout &chain = layout();
    if (k < 0 || k >= chain.recordCount())
        return false;
    ReadIndexedRecord(in, chain.record(k), destination);
    return true;
}

std::optional<MD5Digest> OpenBook::walkDigest(std::int32_t k) const
{
    const auto found = std::lower_bound(
        digests_.begin(), digests_.end(), k,
        [](const RecordDigest &seen, std::int32_t record) { return seen.record < record; });
    if (found == digests_.end() || found->record != k)
        return std::nullopt;
    return found->digest;
}

QString DescriptorName(int fd)
{
    return QStringLiteral("/proc/%1/fd/%2").arg(::getpid()).arg(fd);
}
