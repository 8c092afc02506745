#include "app/core/creation/CreationRows.h"

namespace {

bool isSelected(const RowSelection &selected, std::size_t row)
{
    return row < selected.size() && selected[row];
}

// step -1 moves up, +1 down. Every step reads rows as they were before the move.
std::vector<std::int32_t> moveRows(const RowSelection &selected, QStringList &files,
                                   const std::vector<std::int32_t> &rows, int step)
{
    std::vector<std::int32_t> targets;
    const auto count = std::int64_t(rows.size());
    if (count == 0)
        return targets;
    const auto selectedFile = [&](std::int64_t row) {
        return isSelected(selected, std::size_t(row)) && rows[std::size_t(row)] != -1;
    };
    const std::int64_t edge = step < 0 ? 0 : count - 1;
    // Whether the row before the next one (in the direction of the move) gives way.
    bool open = !isSelected(selected, std::size_t(edge)) && rows[std::size_t(edge)] != -1;
    if (selectedFile(edge))
        targets.push_back(std::int32_t(edge));
    for (std::int64_t row = edge - step; row >= 0 && row < count; row -= step) {
        if (!selectedFile(row)) {
            open = true;
            continue;
        }
        std::int64_t target = row + step;
        while (target >= 0 && target < count && rows[std::size_t(target)] == -1)
            target += step;
        if (!open || target < 0 || target >= count) {
            targets.push_back(std::int32_t(row));
            continue;
        }
        files.move(rows[std::size_t(row)], rows[std::size_t(target)]);
        targets.push_back(std::int32_t(target));
    }
    return targets;
}

} // namespace

void DeleteSelectedRows(const RowSelection &selected, QStringList &files,
                        const std::vector<std::int32_t> &rows, CreationConstraintList &constraints)
{
    // From the last row up, so that the file indices of the rows still to visit stay valid.
    for (std::size_t row = rows.size(); row-- > 0;) {
        if (!isSelected(selected, row) || rows[row] == -1)
            continue;
        DeleteConstraint(constraints, FindConstraint(constraints, files[rows[row]]));
        files.removeAt(rows[row]);
    }
}

std::vector<std::int32_t> MoveRowsUp(const RowSelection &selected, QStringList &files,
                                     const std::vector<std::int32_t> &rows)
{
    return moveRows(selected, files, rows, -1);
}

std::vector<std::int32_t> MoveRowsDown(const RowSelection &selected, QStringList &files,
                                       const std::vector<std::int32_t> &rows)
{
    return moveRows(selected, files, rows, +1);
}
