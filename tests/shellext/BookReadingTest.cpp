// The book routines behind the thumbnail and the info tip, on hand-made files.
#include "shellext/User.h"

#include "platform/WideString.h"
#include "tests/support/BookFixture.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/ProcessIo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

std::istringstream streamOf(const Bytes &bytes)
{
    return std::istringstream(std::string(bytes.begin(), bytes.end()));
}

Bytes withBytesAt(Bytes file, std::size_t offset, std::string_view bytes)
{
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
    return file;
}

} // namespace

TEST(HasCoverMarker, FindsTheMarkerAnywhereButInTheLastByteOfALargeFile)
{
    // Windows start at 3975, 2975, 1975 and 975, then at 0: they overlap, so no position
    // falls between two of them.
    const Bytes zeros(5000, 0);
    for (std::size_t offset = 0; offset + 8 <= zeros.size(); ++offset) {
        auto stream = streamOf(withBytesAt(zeros, offset, "%Reliure"));
        EXPECT_EQ(shellext::HasCoverMarker(stream), offset + 8 < zeros.size()) << offset;
    }
}

TEST(HasCoverMarker, TheMarkerOrTheEndOfAPictureNearestTheEndDecides)
{
    struct Case {
        const char *what;
        Bytes file;
        bool expected;
    };
    const Bytes zeros(20000, 0);
    const Case cases[] = {
        {"neither pattern", zeros, false},
        {"the marker after the last picture",
         withBytesAt(withBytesAt(zeros, 5000, "\xFF\xD9"), 9000, "%Reliure"), true},
        {"the marker before the last picture",
         withBytesAt(withBytesAt(zeros, 5000, "%Reliure"), 9000, "\xFF\xD9"), false},
        {"both in one window: the marker wins",
         withBytesAt(withBytesAt(zeros, 19500, "%Reliure"), 19600, "\xFF\xD9"), true},
        {"a small file, its last byte scanned", withBytesAt(Bytes(1024, 0), 1016, "%Reliure"),
         true},
        {"1025 bytes: the last byte is not scanned", withBytesAt(Bytes(1025, 0), 1017, "%Reliure"),
         false},
        {"an empty file", {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto stream = streamOf(c.file);
        EXPECT_EQ(shellext::HasCoverMarker(stream), c.expected);
    }
}

TEST(BookReading, ACorruptBookEndsWithTheErrorTexts)
{
    const Bytes image = MakeJpeg(16, 16);
    Bytes random(64 * 1024);
    std::mt19937 generator(7);
    for (auto &byte : random)
        byte = static_cast<std::uint8_t>(generator());
    const auto chain = [&](std::vector<Bytes> parts) {
        Bytes file;
        for (const Bytes &part : parts)
            file.insert(file.end(), part.begin(), part.end());
        return file;
    };
    const auto size = static_cast<std::int32_t>(image.size());
    struct Case {
        const char *what;
        Bytes file;
        bool firstPageShown = false; // the chain breaks after the first record
    };
    const Case cases[] = {
        {"three bytes", {0xFF, 0xD8, 0xFF}},
        {"random bytes", random},
        {"a first record longer than the file", chain({image, LittleEndian32(size + 100)})},
        {"a huge first record", chain({image, LittleEndian32(INT32_MAX)})},
        {"a negative length", chain({image, LittleEndian32(-20), image, LittleEndian32(size)}),
         true},
        {"a length that runs past the trailer",
         chain({image, LittleEndian32(1 << 30), image, LittleEndian32(size)}), true},
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(dir / "livre.bd", c.file);
        const std::string book = (dir / "livre.bd").string();
        platform::Raster thumbnail(120, 40);
        shellext::DrawFirstPage(book, thumbnail);
        if (c.firstPageShown) {
            EXPECT_NE(thumbnail.pixel(60, 20), platform::Raster::White);
        } else {
            EXPECT_EQ(thumbnail.pixel(0, 16), platform::Raster::Black) << "the E of the error text";
        }
        EXPECT_EQ(platform::Utf16ToUtf8(shellext::BuildInfoTip(book)), "Erreur lors de la lecture");
    }
}

// A sparse zero-filled file of over 8 GiB holds more empty records than a chain may count: the
// info tip says it cannot be read, after a walk at the file system's speed.
TEST(BookReading, AChainOfMoreRecordsThanTheCountHoldsCannotBeRead)
{
    TempDir dir;
    WriteZeroFile(dir / "z.bd", 8'589'934'600);
    EXPECT_EQ(platform::Utf16ToUtf8(shellext::BuildInfoTip((dir / "z.bd").string())),
              "Erreur lors de la lecture");
}

// Chains of many tiny or empty records: the info tip and the thumbnail walk the chain once, in
// blocks, and scan back only as far as the marker nearest the end, so what they read grows
// with the file, not with its count of records.
TEST(BookReading, ChainsOfTinyRecordsAreReadInBlocks)
{
    const std::string unreadable = "Erreur lors de la lecture";
    struct Case {
        const char *what;
        Bytes book;
        std::string tip; // the page count and first page for the standard tip
    };
    const Case cases[] = {
        {"50,000 records of 4 bytes", TinyRecordBook(50'000), unreadable},
        {"100,000 empty records behind a page", EmptyRecordBook(100'000),
         "Nombre de pages : 99999\r\nDimension 1ère page : 8 x 8"},
        {"1 MiB of zeros", Bytes(1 << 20, 0), unreadable},
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(dir / "livre.bd", c.book);
        const std::string book = (dir / "livre.bd").string();
        const std::int64_t before = BytesReadSoFar();
        const std::string tip = platform::Utf16ToUtf8(shellext::BuildInfoTip(book));
        platform::Raster thumbnail(64, 64);
        shellext::DrawFirstPage(book, thumbnail);
        EXPECT_LE(BytesReadSoFar() - before, 4 * std::int64_t(c.book.size()) + (1 << 20));
        EXPECT_TRUE(tip.ends_with(c.tip)) << tip;
    }
}
