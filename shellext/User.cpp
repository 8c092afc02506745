#include "shellext/User.h"

#include "platform/RegionalSettings.h"
#include "platform/WideString.h"
#include "shellext/RtfToText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <vector>

namespace shellext {

namespace {

const char *const ErrorTip = "Erreur lors de la lecture";

// A thumbnail's picture is decoded scaled down whatever its full size, and refused only when
// it would still be over 2^24 pixels (64 MiB) at that scale, or need more than 256 MiB of
// decoder memory (a progressive picture keeps all its coefficients).
constexpr jpeg::Limits ThumbnailLimits{.picturePixels = std::numeric_limits<std::uint64_t>::max(),
                                       .outputPixels = std::uint64_t{1} << 24,
                                       .workingMemory = 256L << 20};

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

// Serves the cover scan's windows, which go from the end of the file backwards, out of
// blocks of many windows, so a long scan reads the file in few calls.
class BackwardReader {
public:
    explicit BackwardReader(std::istream &stream) : stream_(stream) {}

    void read(std::int64_t offset, std::int64_t count, std::uint8_t *out)
    {
        if (offset < blockStart_ || offset + count > blockEnd_) {
            blockEnd_ = offset + count;
            blockStart_ = std::max<std::int64_t>(0, blockEnd_ - BlockSize);
            block_.resize(static_cast<std::size_t>(blockEnd_ - blockStart_));
            stream_.clear();
            if (!stream_.seekg(blockStart_) ||
                !stream_.read(reinterpret_cast<char *>(block_.data()),
                              static_cast<std::streamsize>(block_.size())))
                failReading();
        }
        std::copy_n(block_.data() + (offset - blockStart_), count, out);
    }

private:
    static constexpr std::int64_t BlockSize = 64 * WindowStep + WindowSize;
    std::istream &stream_;
    std::vector<std::uint8_t> block_;
    std::int64_t blockStart_ = 0;
    std::int64_t blockEnd_ = 0;
};

BookRecordLocation locateRecord(std::istream &stream, std::int32_t index)
{
    const BookRecordLocation record = LocateBookRecord(stream, index);
    if (!record.found)
        failReading();
    return record;
}

// Record 1 when the book has a cover marker, else record 0.
BookRecordLocation locateFirstPage(std::istream &stream)
{
    return locateRecord(stream, HasCoverMarker(stream) ? 1 : 0);
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
    const std::int64_t size = streamSize(stream);
    BackwardReader reader(stream);
    std::array<std::uint8_t, WindowSize> window;
    for (std::int64_t start = size - WindowSize - 1;; start -= WindowStep) {
        const bool last = start <= 0;
        if (last)
            start = 0;
        window.fill(0);
        reader.read(start, last ? std::min(size, WindowSize) : WindowSize, window.data());
        if (FindBytes("%Reliure", window.data(), WindowSize, 1) >= 0)
            return true;
        if (FindBytes("\xFF\xD9", window.data(), WindowSize, 1) >= 0)
            return false;
        if (last)
            return false;
    }
}

BookPages CountBookPages(std::istream &stream)
{
    const std::int32_t count =
        ReadBookRecord(stream, nullptr, std::numeric_limits<std::int32_t>::max());
    if (count == 0)
        throw BookFormatError(CorruptBookMessage);
    const BookRecordLocation last = locateRecord(stream, count - 1);
    char first = 0;
    if (last.length > 0) {
        stream.clear();
        if (!stream.seekg(last.offset) || !stream.get(first))
            failReading();
    }
    if (static_cast<unsigned char>(first) == 0xFF)
        return {count, false};
    return {count - 1, true};
}

jpeg::Dimensions GetJpegSize(std::istream &stream, const BookRecordLocation &record)
{
    return jpeg::ReadStreamDimensions({stream, record.offset, record.length});
}

void DrawFirstPage(const std::string &fileName, platform::Raster &bitmap)
{
    try {
        std::ifstream file(fileName, std::ios::binary);
        if (!file)
            failReading();
        const BookRecordLocation page = locateFirstPage(file);
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
            ThumbnailLimits);
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

std::u16string BuildStandardTip(const std::string &fileName, std::int32_t pageCount,
                                std::istream &stream)
{
    try {
        const std::uintmax_t size = std::filesystem::file_size(fileName);
        const jpeg::Dimensions first = GetJpegSize(stream, locateFirstPage(stream));
        return platform::Utf8ToUtf16("Type : Quirelle\r\n"
                                     "Taille (Mo)  : " +
                                     FormatMegabytes(size, platform::DecimalSeparator()) +
                                     "\r\n"
                                     "Nombre de pages : " +
                                     std::to_string(pageCount) +
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
        const BookPages pages = CountBookPages(file);
        if (!pages.HasMetaRecord)
            return BuildStandardTip(fileName, pages.count, file);
        Bytes meta;
        ReadBookRecord(file, &meta, pages.count);
        const auto brace = std::find(meta.rbegin(), meta.rend(), '}');
        if (brace == meta.rend())
            return BuildStandardTip(fileName, pages.count, file);
        const auto end = std::find(meta.begin(), brace.base() - 1, 0);
        const std::string description(meta.begin(), end);
        const std::string text = RtfToText(description, false, 512);
        if (text.empty())
            return BuildStandardTip(fileName, pages.count, file);
        return platform::AnsiToUtf16(text);
    } catch (const std::exception &) {
        return platform::Utf8ToUtf16(ErrorTip);
    }
}

} // namespace shellext
