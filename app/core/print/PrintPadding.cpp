#include "app/core/print/PrintPadding.h"

#include <algorithm>

std::int32_t PadPageList(BookPages &state, const QString &layout)
{
    const bool a5 = layout == QLatin1String("A5");
    const auto length = static_cast<std::int32_t>(state.PageList.size());
    const std::int32_t sheetSize = a5 ? 4 : 2;
    const std::int32_t added = (sheetSize - length % sheetSize) % sheetSize;
    if (added == 0)
        return 0;

    const std::int32_t backCovers = std::clamp(state.QuatrsCount, 0, length);
    const auto insertAt = state.PageList.end() - backCovers;
    std::vector<PageEntry> blanks;
    for (std::int32_t n = 1; n <= added; ++n)
        // "Ajout " with its blank (A4) and "Ajout" without one (A5) are the program's own
        // names, kept as they stand.
        blanks.push_back(
            {(a5 ? QStringLiteral("Ajout") : QStringLiteral("Ajout ")) + QString::number(n), -1});
    state.PageList.insert(insertAt, blanks.begin(), blanks.end());
    state.PageCountCache += added;
    state.BlankCount += added;
    return added;
}
