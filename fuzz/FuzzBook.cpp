#include "fuzz/FuzzBook.h"

namespace {

void appendLength(Bytes &book, std::size_t length)
{
    for (int i = 0; i < 4; ++i)
        book.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
}

} // namespace

Bytes FuzzBookImage(int index)
{
    return {0xFF, 0xD8, static_cast<std::uint8_t>(index), 0xFF, 0xD9};
}

Bytes FuzzBook(std::span<const std::uint8_t> meta)
{
    Bytes book = FuzzBookImage(0);
    for (int index = 1; index < FuzzBookImageCount; ++index) {
        const Bytes image = FuzzBookImage(index);
        appendLength(book, image.size());
        book.insert(book.end(), image.begin(), image.end());
    }
    appendLength(book, meta.size());
    book.insert(book.end(), meta.begin(), meta.end());
    appendLength(book, FuzzBookImage(0).size());
    return book;
}
