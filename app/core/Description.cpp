#include "app/core/Description.h"

#include <algorithm>

namespace {

Bytes metaRecord(MainWindowState &state)
{
    if (!state.BookStream || !state.BookStream->is_open())
        throw BookFormatError("Le fichier de la bande dessinée n'est pas ouvert.");
    Bytes record;
    ReadBookRecord(*state.BookStream, &record,
                   state.PageCountCache - state.BlankCount + state.LeadCount);
    return record;
}

} // namespace

Bytes DescriptionForEditor(MainWindowState &state)
{
    Bytes record = metaRecord(state);
    const std::int32_t eof = FindBytes("%EOF", record.data(), std::int32_t(record.size()), 1);
    if (eof >= 0)
        record.resize(std::size_t(eof));
    return record;
}

std::optional<Bytes> DescriptionForViewer(MainWindowState &state)
{
    Bytes record = metaRecord(state);
    const auto last = std::find(record.rbegin(), record.rend(), '}');
    if (last == record.rend())
        return std::nullopt;
    record.erase(last.base(), record.end());
    return record;
}
