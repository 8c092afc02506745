// Writing a new description into a whole book made of the input's records: the image records
// stay byte for byte and the new meta record starts with the description; a book that is not
// written stays as it was.
#include "app/book/BookLayout.h"
#include "app/core/files/BookWriter.h"
#include "app/text/UserError.h"
#include "fuzz/Fuzz.h"
#include "fuzz/FuzzBook.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/ListPages.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace {

Bytes fileBytes(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The image records of the book at path, and its meta record; none when it cannot be laid
// out.
struct Records {
    std::vector<Bytes> images;
    Bytes meta;
};

std::optional<Records> recordsOf(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    try {
        const BookLayout layout = BookLayout::Read(file);
        Records records;
        records.images.resize(std::size_t(layout.imageCount()));
        for (std::int32_t k = 0; k < layout.imageCount(); ++k)
            ReadIndexedRecord(file, layout.record(k), records.images[std::size_t(k)]);
        if (const std::optional<BookRecord> meta = layout.metaRecord())
            ReadIndexedRecord(file, *meta, records.meta);
        return records;
    } catch (const BookFormatError &) {
        return std::nullopt;
    }
}

} // namespace

void FuzzInput(std::span<const std::uint8_t> data)
{
    static const std::filesystem::path path = FuzzFolder() / "livre.bd";
    const Bytes book = BookOfRecords(data);
    WriteFuzzFile(path, book);
    const std::optional<Records> before = recordsOf(path);

    static const Bytes rtf = [] {
        const std::string text = "{\\rtf1 Une histoire}\r\n";
        return Bytes(text.begin(), text.end());
    }();
    OpenBook open = OpenBook::open(QString::fromStdString(path.string()));
    SilentPrompter prompter;
    bool written = false;
    try {
        written = WriteDescription(open, prompter, rtf);
    } catch (const FileWriteError &) {
    }
    if (!open.isOpen())
        FuzzFault("the book is not open again after its description was written");

    if (!written) {
        if (fileBytes(path) != book)
            FuzzFault("a book whose description was not written has changed");
        return;
    }
    const std::optional<Records> after = recordsOf(path);
    if (!before || !after || after->images != before->images)
        FuzzFault("writing a description changed the image records");
    if (after->meta.size() < rtf.size() || !std::equal(rtf.begin(), rtf.end(), after->meta.begin()))
        FuzzFault("the new meta record does not start with the description");
}
