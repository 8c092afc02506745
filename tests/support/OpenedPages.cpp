#include "tests/support/OpenedPages.h"

#include "app/core/pages/PageList.h"
#include "app/core/seams/UiHooks.h"

std::int32_t OpenPages(BookPages &pages, const QString &path, Prompter &prompter)
{
    pages.CurrentFile = path;
    pages.Book = OpenBook::open(path);
    pages.BlankCount = 0;
    NoUiHooks ui;
    const std::int32_t count = CountPages(pages, prompter, ui);
    BuildPageList(pages, prompter);
    return count;
}
