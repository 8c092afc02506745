// Extracting the pages of a whole book made of the input's records, opened as the program
// opens it: every file written is one of the book's image records, byte for byte, or its
// description.
#include "app/book/BookLayout.h"
#include "app/core/tools/PageExtraction.h"
#include "fuzz/Fuzz.h"
#include "fuzz/FuzzBook.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/ListPages.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

void FuzzInput(std::span<const std::uint8_t> data)
{
    const BookPages state = ListPagesOf(BookOfRecords(data));
    static const std::filesystem::path out = FuzzFolder() / "out";
    SilentPrompter prompter;
    ExtractPages(state, prompter, [](QString &folder) {
        folder = QString::fromStdString(out.string());
        return true;
    });

    std::set<Bytes> images;
    if (state.Book.isOpen()) {
        try {
            const BookLayout &layout = state.Book.layout();
            for (std::int32_t k = 0; k < layout.imageCount(); ++k) {
                Bytes image;
                state.Book.read(k, image);
                images.insert(std::move(image));
            }
        } catch (const BookFormatError &) {
        }
    }
    std::error_code error;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(out, error)) {
        if (!entry.is_regular_file() || entry.path().filename() == "Description.rtf")
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        const Bytes written{std::istreambuf_iterator<char>(file), {}};
        if (!images.contains(written))
            FuzzFault("an extracted page is no image record of the book");
    }
    std::filesystem::remove_all(out, error);
}
