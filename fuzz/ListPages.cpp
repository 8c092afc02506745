#include "fuzz/ListPages.h"

#include "app/core/pages/PageList.h"
#include "fuzz/Fuzz.h"
#include "fuzz/FuzzFolder.h"

#include <fstream>

BookPages ListPagesOf(std::span<const std::uint8_t> book)
{
    static const std::filesystem::path path = FuzzFolder() / "livre.bd";
    WriteFuzzFile(path, book);

    BookPages state;
    state.CurrentFile = QString::fromStdString(path.string());
    state.Book = OpenBook::open(state.CurrentFile);
    state.BlankCount = 0;
    SilentPrompter prompter;
    NoUiHooks ui;
    const std::int32_t images = CountPages(state, prompter, ui);
    BuildPageList(state, prompter);
    for (const PageEntry &entry : state.PageList)
        if (entry.Image < -1 || entry.Image >= images)
            FuzzFault("a page names an image record the book does not have");
    return state;
}
