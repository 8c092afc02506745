#pragma once

#include "app/core/pages/BookPages.h"

#include <cstdint>

// Adds blank "Ajout" pages directly before the back covers until the page list's length is
// even (A4) or a multiple of 4 (layout "A5"); keeps PageCountCache and BlankCount in step.
// Returns the number of pages added.
std::int32_t PadPageList(BookPages &state, const QString &layout);
