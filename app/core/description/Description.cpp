#include "app/core/description/Description.h"

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

Bytes DescriptionOf(Bytes metaRecord)
{
    const std::int32_t eof =
        FindBytes("%EOF", metaRecord.data(), std::int32_t(metaRecord.size()), 1);
    if (eof >= 0)
        metaRecord.resize(std::size_t(eof));
    return metaRecord;
}

Bytes DescriptionForEditor(MainWindowState &state)
{
    return DescriptionOf(metaRecord(state));
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
