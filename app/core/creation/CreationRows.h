#pragma once

#include "app/core/creation/CreationConstraints.h"

#include <QStringList>

#include <cstdint>
#include <vector>

// The row operations of the book-creation window's two lists. rows maps each row of a list
// to the index of its file in files, -1 for a blank page (see CreationPreview); selected
// holds one flag per row. The caller rebuilds the preview afterwards.

using RowSelection = std::vector<bool>;

// Removes the files of the selected file rows, and their constraints; blank rows are skipped.
void DeleteSelectedRows(const RowSelection &selected, QStringList &files,
                        const std::vector<std::int32_t> &rows, CreationConstraintList &constraints);

// Moves the file of each selected row one file position up (down), past blank rows; a run of
// selected rows against the top (bottom) stays. Gives the rows to select once the preview
// is rebuilt.
std::vector<std::int32_t> MoveRowsUp(const RowSelection &selected, QStringList &files,
                                     const std::vector<std::int32_t> &rows);
std::vector<std::int32_t> MoveRowsDown(const RowSelection &selected, QStringList &files,
                                       const std::vector<std::int32_t> &rows);
