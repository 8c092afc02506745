// The page-list builder over a book whose meta record is the input: counting the pages,
// reading the metadata lines, checking the MD5 texts, numbering and placing blank pages.
#include "app/core/PageList.h"
#include "fuzz/Fuzz.h"
#include "fuzz/FuzzBook.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class SilentPrompter : public Prompter {
public:
    MessageAnswer show(const QString &, const QString &, MessageIcon, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
};

// The book is read through a file stream, as the program reads it: one file for the run.
class BookFile {
public:
    BookFile()
    {
        const int fd = mkstemps(path_.data(), 3);
        if (fd < 0)
            FuzzFault("cannot create the book file");
        close(fd);
    }
    ~BookFile() { std::filesystem::remove(path_); }
    BookFile(const BookFile &) = delete;
    BookFile &operator=(const BookFile &) = delete;

    const std::string &path() const { return path_; }

private:
    std::string path_ =
        (std::filesystem::temp_directory_path() / "quirelle-fuzz-XXXXXX.bd").string();
};

} // namespace

void FuzzInput(std::span<const std::uint8_t> data)
{
    static const BookFile file;
    const Bytes book = FuzzBook(data);
    std::ofstream(file.path(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(book.data()),
               static_cast<std::streamsize>(book.size()));

    MainWindowState state;
    state.CurrentFile = QString::fromStdString(file.path());
    state.BookStream = std::make_unique<std::ifstream>(file.path(), std::ios::binary);
    state.BlankCount = 0;
    SilentPrompter prompter;
    NoUiHooks ui;
    const std::int32_t images = CountPages(state, prompter, ui);
    BuildPageList(state, prompter);
    for (const PageEntry &entry : state.PageList)
        if (entry.Image < -1 || entry.Image >= images)
            FuzzFault("a page names an image record the book does not have");
}
