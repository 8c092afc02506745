#pragma once

#include "app/core/pages/BookPages.h"
#include "app/core/pages/Numbering.h"
#include "app/core/seams/Prompter.h"
#include "app/core/seams/UiHooks.h"

#include <cstdint>
#include <vector>

// Counts the pages of the open file (image records of a book, pages of a PDF) into
// state.PageCountCache, and decides the state of the two description menu items. Every
// failure is reported in a message box and gives the count 0.
std::int32_t CountPages(BookPages &state, Prompter &prompter, UiHooks &ui);

// Rebuilds state.PageList and the counts read from the book's meta record: checks every
// image against its MD5 text, numbers the pages and inserts blank pages. The list is built
// in full before anything in state changes.
void BuildPageList(BookPages &state, Prompter &prompter);

// Index of the first constraint whose Key is key, or -1.
std::int32_t FindConstraintByIndex(const std::vector<NumberingConstraint> &BookConstraints,
                                   std::int32_t key);
