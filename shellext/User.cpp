#include "shellext/User.h"

#include "platform/RegionalSettings.h"
#include "platform/WideString.h"
#include "shellext/RtfToText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace shellext {

namespace {

const char *const ErrorTip = "Erreur lors de la lecture";

constexpr std::int64_t WindowSize = 1024;
constexpr std::int64_t WindowStep = 1000;

// "Erreur de lecture" at the left edge, vertically centred, going on between its words on as
// many lines as the width of the bitmap needs.
void drawReadError(platform::Raster &bitmap)
{
    constexpr int LineGap = 2;
    std::vector<std::string> lines;
    for (const char *word : {"Erreur", "de", "lecture"}) {
        if (!lines.empty() &&
            platform::Raster::TextWidth(lines.back() + ' ' + word) <= bitmap.width())
            lines.back() += std::string(" ") + word;
        else
            lines.emplace_back(word);
    }
    const int count = static_cast<int>(lines.size());
    int y = (bitmap.height() - (count * platform::Raster::TextHeight + (count - 1) * LineGap)) / 2;
    for (const std::string &line : lines) {
        bitmap.drawText(0, y, line);
        y += platform::Raster::TextHeight + LineGap;
    }
}

[[noreturn]] void failReading()
{
    throw BookFormatError(BookReadFailedMessage);
}

std::int64_t streamSize(std::istream &stream)
{
    stream.clear();
    if (!stream.seekg(0, std::ios::end))
        failReading();
    const std::int64_t size = stream.tellg();
    if (size < 0)
        failReading();
    return size;
}

constexpr std::string_view CoverMarker = "%Reliure";
constexpr std::string_view EndOfPicture = "\xFF\xD9";

void readAt(std::istream &stream, std::int64_t offset, std::span<std::uint8_t> out)
{
    stream.clear();
    if (!stream.seekg(offset) || !stream.read(reinterpret_cast<char *>(out.data()),
                                              static_cast<std::streamsize>(out.size())))
        failReading();
}

// The start of the last occurrence of marker that lies whole in bytes.
std::optional<std::size_t> lastOccurrence(std::span<const std::uint8_t> bytes,
                                          std::string_view marker)
{
    const std::size_t m = marker.size();
    for (std::size_t end = bytes.size(); end >= m;) {
        const void *hit = memrchr(bytes.data(), marker.front(), end - m + 1);
        if (!hit)
            return std::nullopt;
        const auto start =
            static_cast<std::size_t>(static_cast<const std::uint8_t *>(hit) - bytes.data());
        if (std::memcmp(bytes.data() + start, marker.data(), m) == 0)
            return start;
        end = start + m - 1;
    }
    return std::nullopt;
}

// The start of the occurrence of either marker nearest the end of the first `end` bytes of
// the stream, searched backwards in large blocks.
std::optional<std::int64_t> nearestMarker(std::istream &stream, std::int64_t end)
{
    constexpr std::int64_t BlockSize = 256 << 10;
    const std::int64_t overlap = static_cast<std::int64_t>(CoverMarker.size()) - 1;
    std::vector<std::uint8_t> block;
    for (std::int64_t blockEnd = end;; blockEnd -= BlockSize - overlap) {
        const std::int64_t blockStart = std::max<std::int64_t>(0, blockEnd - BlockSize);
        block.resize(static_cast<std::size_t>(blockEnd - blockStart));
        readAt(stream, blockStart, block);
        std::optional<std::size_t> nearest;
        for (const std::string_view marker : {CoverMarker, EndOfPicture})
            if (const std::optional<std::size_t> found = lastOccurrence(block, marker))
                nearest = std::max(nearest.value_or(0), *found);
        if (nearest)
            return blockStart + static_cast<std::int64_t>(*nearest);
        if (blockStart == 0)
            return std::nullopt;
    }
}

// Record 1 when the book has a cover marker, else record 0; the chain is walked no further.
BookRecord firstPage(std::istream &stream)
{
    const std::optional<BookRecord> page = LocateBookRecord(stream, HasCoverMarker(stream) ? 1 : 0);
    if (!page)
        failReading();
    return *page;
}

// The rectangle that a picture covers in a box: as large as fits whole, centred.
platform::Rect FitPicture(jpeg::Dimensions picture, jpeg::Dimensions box)
{
    const long double scale = std::min(static_cast<long double>(box.width) / picture.width,
                                       static_cast<long double>(box.height) / picture.height);
    const auto width = static_cast<int>(std::llrint(picture.width * scale));
    const auto height = static_cast<int>(std::llrint(picture.height * scale));
    const auto left = static_cast<int>(std::llrint((box.width - width) / 2.0L));
    const auto top = static_cast<int>(std::llrint((box.height - height) / 2.0L));
    return {left, top, left + width, top + height};
}

} // namespace

bool HasCoverMarker(std::istream &stream)
{
    // The windows overlap by more than either marker is long, so the first window of the scan
    // that holds a marker is the one that holds the marker nearest the end: the scan need
    // read no window before it. A file larger than a window is never scanned in its last byte.
    const std::int64_t size = streamSize(stream);
    const std::optional<std::int64_t> nearest =
        nearestMarker(stream, size > WindowSize ? size - 1 : size);
    if (!nearest)
        return false;
    std::int64_t start = size - WindowSize - 1;
    if (*nearest < start)
        start -= (start - *nearest + WindowStep - 1) / WindowStep * WindowStep;
    std::array<std::uint8_t, WindowSize> window{};
    const std::int64_t length = start > 0 ? WindowSize : std::min(size, WindowSize);
    readAt(stream, std::max<std::int64_t>(start, 0), std::span(window).first(std::size_t(length)));
    return FindBytes(CoverMarker, window.data(), WindowSize, 1) >= 0;
}

jpeg::Dimensions GetJpegSize(std::istream &stream, const BookRecord &record)
{
    return jpeg::ReadStreamDimensions({stream, record.offset, record.length});
}

void DrawFirstPage(const std::string &fileName, platform::Raster &bitmap,
                   const jpeg::Limits &limits)
{
    try {
        std::ifstream file(fileName, std::ios::binary);
        if (!file)
            failReading();
        const BookRecord page = firstPage(file);
        platform::Rect target;
        std::optional<platform::Raster> picture;
        jpeg::DecodeStreamInto(
            {file, page.offset, page.length}, jpeg::Decoding::Fast, jpeg::PixelLayout::Bgra,
            [&](jpeg::Dimensions full) {
                target = FitPicture(full, {bitmap.width(), bitmap.height()});
                return jpeg::Dimensions{target.width(), target.height()};
            },
            [&](jpeg::Dimensions output, std::size_t) {
                picture.emplace(output.width, output.height);
                return picture->row(0);
            },
            limits);
        bitmap.stretchDraw(*picture, target);
    } catch (const std::exception &) {
        drawReadError(bitmap);
    }
}

std::string FormatMegabytes(std::uintmax_t bytes, const std::string &decimalSeparator)
{
    constexpr std::uintmax_t Megabyte = 1 << 20;
    const std::uintmax_t tenths =
        bytes / Megabyte * 10 + ((bytes % Megabyte) * 10 + Megabyte / 2) / Megabyte;
    return std::to_string(tenths / 10) + decimalSeparator + std::to_string(tenths % 10);
}

std::u16string BuildStandardTip(const BookLayout &layout, std::istream &stream)
{
    try {
        // The size of the file walked, whatever is at its path by now.
        const auto size = static_cast<std::uintmax_t>(streamSize(stream));
        const jpeg::Dimensions first = GetJpegSize(stream, firstPage(stream));
        // "Taille (Mo)  : " has two blanks before its colon: the program's own text, kept as it
        // stands.
        return platform::Utf8ToUtf16("Type : Quirelle\r\n"
                                     "Taille (Mo)  : " +
                                     FormatMegabytes(size, platform::DecimalSeparator()) +
                                     "\r\n"
                                     "Nombre de pages : " +
                                     std::to_string(layout.imageCount()) +
                                     "\r\n"
                                     "Dimension 1ère page : " +
                                     std::to_string(first.width) + " x " +
                                     std::to_string(first.height));
    } catch (const std::exception &) {
        return platform::Utf8ToUtf16(ErrorTip);
    }
}

std::u16string BuildInfoTip(const std::string &fileName)
{
    try {
        std::ifstream file(fileName, std::ios::binary);
        if (!file)
            failReading();
        const BookLayout layout = BookLayout::Read(file);
        if (layout.recordCount() == 0)
            throw BookFormatError(CorruptBookMessage);
        const std::optional<BookRecord> metaRecord = layout.metaRecord();
        if (!metaRecord)
            return BuildStandardTip(layout, file);
        Bytes meta;
        ReadIndexedRecord(file, *metaRecord, meta);
        const auto brace = std::find(meta.rbegin(), meta.rend(), '}');
        if (brace == meta.rend())
            return BuildStandardTip(layout, file);
        const auto end = std::find(meta.begin(), brace.base() - 1, 0);
        const std::string description(meta.begin(), end);
        const std::string text = RtfToText(description, false, 512);
        if (text.empty())
            return BuildStandardTip(layout, file);
        return platform::AnsiToUtf16(text);
    } catch (const std::exception &) {
        return platform::Utf8ToUtf16(ErrorTip);
    }
}

} // namespace shellext
