#pragma once

#include "app/core/pages/BookPages.h"
#include "app/core/seams/Prompter.h"
#include "app/core/seams/UiHooks.h"

#include <cstdint>

// Counts the pages of the open file (image records of a book, pages of a PDF) into
// state.PageCountCache, and decides the state of the two description menu items. Every
// failure is reported in a message box and gives the count 0; a failed allocation also closes
// the document, before "Erreur, manque de mémoire." is shown.
std::int32_t CountPages(BookPages &state, Prompter &prompter, UiHooks &ui);

// Rebuilds state.PageList and the counts read from the book's meta record: checks every
// image against its MD5 text, numbers the pages and inserts blank pages. The list is built
// in full before anything in state changes. A page takes the first constraint on its
// position. A failed allocation closes the document as CountPages does.
void BuildPageList(BookPages &state, Prompter &prompter);
