#include "app/core/pages/MetaData.h"

#include <algorithm>
#include <charconv>
#include <limits>

std::vector<std::string> SplitLines(const Bytes &record)
{
    const auto end = std::find(record.begin(), record.end(), std::uint8_t{0});
    std::vector<std::string> lines;
    auto start = record.begin();
    while (start != end) {
        const auto lineEnd =
            std::find_if(start, end, [](std::uint8_t b) { return b == '\r' || b == '\n'; });
        lines.emplace_back(start, lineEnd);
        start = lineEnd;
        if (start != end) {
            const bool carriageReturn = *start == '\r';
            ++start;
            if (carriageReturn && start != end && *start == '\n')
                ++start;
        }
    }
    return lines;
}

namespace {

[[noreturn]] void damaged()
{
    throw DamagedMetaData("damaged metadata line");
}

// The lines after "%EOF", read in order.
class LineReader {
public:
    LineReader(const std::vector<std::string> &lines, std::size_t first)
        : lines_(lines), next_(first)
    {
    }

    bool atKeyword(const char *keyword)
    {
        if (next_ < lines_.size() && lines_[next_] == keyword) {
            ++next_;
            return true;
        }
        return false;
    }
    // Still a line that is neither empty nor starts with '%'.
    bool atValueLine() const
    {
        return next_ < lines_.size() && !lines_[next_].empty() && lines_[next_][0] != '%';
    }
    const std::string &take()
    {
        if (next_ >= lines_.size())
            damaged();
        return lines_[next_++];
    }
    std::int64_t takeNumber(std::int64_t low, std::int64_t high)
    {
        const std::string &line = take();
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
        if (error != std::errc() || end != line.data() + line.size() || value < low || value > high)
            damaged();
        return value;
    }
    std::int32_t takeCount() { return static_cast<std::int32_t>(takeNumber(0, Int32Max)); }

    static constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();
    static constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();

private:
    const std::vector<std::string> &lines_;
    std::size_t next_;
};

} // namespace

std::optional<BookMetaData> ReadMetaData(const Bytes &record, std::int32_t imageCount)
{
    const std::vector<std::string> lines = SplitLines(record);
    const auto eof = std::find(lines.begin(), lines.end(), "%EOF");
    if (eof == lines.end())
        return std::nullopt;
    LineReader reader(lines, static_cast<std::size_t>(eof - lines.begin()) + 1);

    BookMetaData meta;
    if (reader.atKeyword("%MD5"))
        while (reader.atValueLine())
            meta.Md5Texts.push_back(reader.take());
    meta.HasPresentation = reader.atKeyword("%Presentation");
    meta.HasCover = reader.atKeyword("%Reliure");
    if (reader.atKeyword("%Prems"))
        meta.PremsCount = reader.takeCount();
    if (reader.atKeyword("%ListePages"))
        meta.ListePagesCount = reader.takeCount();
    if (reader.atKeyword("%Quatrs"))
        meta.QuatrsCount = reader.takeCount();
    if (reader.atKeyword("%Contraintes")) {
        while (reader.atValueLine()) {
            NumberingConstraint constraint;
            constraint.Key = static_cast<std::int32_t>(
                reader.takeNumber(LineReader::Int32Min + 1, LineReader::Int32Max) - 1);
            constraint.Kind = static_cast<NumberingKind>(reader.takeNumber(0, KeepCurrentKind));
            constraint.Value = static_cast<std::int32_t>(
                reader.takeNumber(LineReader::Int32Min, LineReader::Int32Max));
            meta.Constraints.push_back(constraint);
        }
    }

    const std::int64_t placed =
        std::int64_t{meta.leadCount()} + meta.PremsCount + meta.ListePagesCount + meta.QuatrsCount;
    if (placed > imageCount || meta.Constraints.size() > static_cast<std::size_t>(imageCount))
        damaged();
    return meta;
}
