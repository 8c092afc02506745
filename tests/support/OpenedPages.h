#pragma once

#include "app/core/pages/BookPages.h"

#include <QString>

#include <cstdint>

class Prompter;

// Opens the book or PDF at path into pages as the main window does: the document opened, the
// count of blank pages reset, the pages counted and the page list built. Gives the count.
std::int32_t OpenPages(BookPages &pages, const QString &path, Prompter &prompter);
