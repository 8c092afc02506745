#include "app/core/files/OpenBook.h"

#include "app/core/files/OpenFile.h"

#include <filesystem>
#include <fstream>

OpenBook::OpenBook(QString path, std::unique_ptr<std::istream> stream)
    : path_(std::move(path)), stream_(std::move(stream))
{
    if (IsPdfFile(path_))
        return;
    try {
        records_ = IndexBookRecords(*stream_);
    } catch (...) {
        walkFailure_ = std::current_exception();
    }
}

OpenBook OpenBook::open(const QString &path)
{
    const std::filesystem::path file = path.toStdString();
    std::error_code error;
    auto stream = std::filesystem::is_directory(file, error)
                      ? nullptr
                      : std::make_unique<std::ifstream>(file, std::ios::binary);
    if (stream && stream->is_open())
        return {path, std::move(stream)};
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

const std::vector<BookRecord> &OpenBook::records() const
{
    if (walkFailure_)
        std::rethrow_exception(walkFailure_);
    return records_;
}

bool OpenBook::read(std::int32_t k, Bytes &destination) const
{
    std::istream &in = stream();
    const std::vector<BookRecord> &chain = records();
    if (k < 0 || static_cast<std::size_t>(k) >= chain.size())
        return false;
    ReadIndexedRecord(in, chain[static_cast<std::size_t>(k)], destination);
    return true;
}
