#include "app/book/BookFile.h"
#include "app/book/BookLayout.h"

#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

std::stringstream streamOf(const Bytes &bytes)
{
    return std::stringstream(std::string(bytes.begin(), bytes.end()),
                             std::ios::in | std::ios::binary);
}

std::int32_t countRecords(const Bytes &book)
{
    auto stream = streamOf(book);
    return ReadBookRecord(stream, nullptr, INT32_MAX);
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes Sentinel = ToBytes("untouched");
const char *const CorruptMessage = "Le fichier n'est pas une bande dessinée valide.";

// Blockfuls in order, the last one short; a record of no bytes hands none.
TEST(ReadRecordBlocks, HandsTheRecordOverBlockByBlock)
{
    const Bytes cover = MakeJpeg(8, 8, Qt::blue), page = MakeJpeg(16, 8, Qt::green);
    auto stream = streamOf(AssembleBook({cover, page, {}, page}));
    const BookLayout layout = BookLayout::Read(stream);
    ASSERT_EQ(layout.recordCount(), 4);
    for (const std::size_t blockSize : {std::size_t(1), std::size_t(7), page.size()}) {
        SCOPED_TRACE(blockSize);
        Bytes block(blockSize);
        for (std::int32_t i = 0; i < layout.recordCount(); ++i) {
            Bytes whole, handed;
            ReadIndexedRecord(stream, layout.record(i), whole);
            std::size_t calls = 0;
            ReadRecordBlocks(stream, layout.record(i), block,
                             [&](std::span<const std::uint8_t> bytes) {
                                 ++calls;
                                 EXPECT_LE(bytes.size(), blockSize);
                                 handed.insert(handed.end(), bytes.begin(), bytes.end());
                             });
            EXPECT_EQ(handed, whole) << "record " << i;
            EXPECT_EQ(calls, (whole.size() + blockSize - 1) / blockSize) << "record " << i;
        }
    }

    auto shorter = streamOf(AssembleBook({page}));
    Bytes block(7);
    EXPECT_THROW(
        ReadRecordBlocks(shorter, layout.record(3), block, [](std::span<const std::uint8_t>) {}),
        BookFormatError);
}

} // namespace

TEST(ReadBookRecord, ValidChains)
{
    const Bytes cover = MakeJpeg(8, 8, Qt::blue), page = MakeJpeg(16, 8, Qt::green),
                back = MakeJpeg(8, 16, Qt::black);
    const Bytes meta = MakeMetaRecord("{\\rtf1 x}\r\n", StandardMetaLines({cover, page}));

    struct Case {
        const char *name;
        std::vector<Bytes> records;  // as written
        std::vector<Bytes> readable; // what the walk counts and reads back
    };
    const std::vector<Case> cases = {
        {"one image", {page}, {page}},
        {"cover, 3 pages, 2 back covers, meta",
         {cover, page, page, page, back, back, meta},
         {cover, page, page, page, back, back, meta}},
        {"zero-length record in the middle", {cover, {}, page}, {cover, {}, page}},
        {"zero-length record in front of the trailer is not counted",
         {cover, page, {}},
         {cover, page}},
        {"zero-length record 0", {{}, page}, {{}, page}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes book = AssembleBook(c.records);
        auto stream = streamOf(book);
        const auto count = std::int32_t(c.readable.size());
        EXPECT_EQ(ReadBookRecord(stream, nullptr, INT32_MAX), count);
        for (std::int32_t i = 0; i < count; ++i) {
            Bytes destination = Sentinel;
            ASSERT_EQ(ReadBookRecord(stream, &destination, i), -1) << "record " << i;
            EXPECT_EQ(destination, c.readable[std::size_t(i)]) << "record " << i;
        }
        for (const std::int32_t beyond : {count, count + 1, INT32_MAX, -1, INT32_MIN}) {
            Bytes destination = Sentinel;
            EXPECT_EQ(ReadBookRecord(stream, &destination, beyond), count) << beyond;
            EXPECT_EQ(destination, Sentinel);
        }
    }
}

TEST(ReadBookRecord, EmptyFileHoldsNoRecord)
{
    EXPECT_EQ(countRecords({}), 0);
}

TEST(ReadBookRecord, CorruptChainsEndWithFormatError)
{
    const Bytes jpeg = MakeJpeg(8, 8);
    const auto jpegLength = std::int32_t(jpeg.size());
    struct Case {
        const char *name;
        Bytes book;
    };
    const std::vector<Case> cases = {
        {"1 byte", ToBytes("\xff")},
        {"2 bytes", ToBytes("\xff\xd8")},
        {"3 bytes", ToBytes("abc")},
        {"plain JPEG", jpeg},
        {"negative trailer", concat({jpeg, LittleEndian32(-1)})},
        {"trailer past the file", concat({jpeg, LittleEndian32(jpegLength + 1)})},
        {"trailer shorter than record 0", concat({jpeg, LittleEndian32(jpegLength - 7)})},
        {"trailer of a longer record 0",
         concat({jpeg, LittleEndian32(4), ToBytes("abcd"), LittleEndian32(jpegLength - 6)})},
        {"negative length",
         concat({jpeg, LittleEndian32(-5), ToBytes("abcd"), LittleEndian32(jpegLength)})},
        {"length past the trailer",
         concat({jpeg, LittleEndian32(5), ToBytes("abcd"), LittleEndian32(jpegLength)})},
        {"huge length",
         concat({jpeg, LittleEndian32(INT32_MAX), ToBytes("abcd"), LittleEndian32(jpegLength)})},
        {"length field cut by the trailer",
         concat({jpeg, ToBytes("ab"), LittleEndian32(jpegLength)})},
        {"non-zero length right in front of the trailer",
         concat({jpeg, LittleEndian32(1), LittleEndian32(jpegLength)})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::int32_t index : {INT32_MAX, 1, 5}) {
            auto stream = streamOf(c.book);
            Bytes destination = Sentinel;
            try {
                ReadBookRecord(stream, &destination, index);
                ADD_FAILURE() << "no error for index " << index;
            } catch (const BookFormatError &error) {
                EXPECT_STREQ(error.what(), CorruptMessage);
            }
            EXPECT_EQ(destination, Sentinel);
        }
    }
}

TEST(ReadBookRecord, WorksOnAFileStreamAfterAnEarlierFailedRead)
{
    TempDir dir;
    const Bytes page = MakeJpeg(8, 8);
    WriteFileBytes(dir / "book.bd", AssembleBook({page, page}));
    std::ifstream stream(dir / "book.bd", std::ios::binary);
    char ignored[64];
    stream.seekg(0, std::ios::end);
    stream.read(ignored, sizeof ignored); // leaves eof and fail set
    Bytes destination;
    EXPECT_EQ(ReadBookRecord(stream, &destination, 1), -1);
    EXPECT_EQ(destination, page);
    EXPECT_EQ(ReadBookRecord(stream, nullptr, INT32_MAX), 2);
}

// A record found in a longer file than the stream now holds is not read past the end.
TEST(ReadIndexedRecord, RecordBeyondTheStreamEndsWithReadError)
{
    const Bytes page = MakeJpeg(8, 8);
    auto longer = streamOf(AssembleBook({page, page, page}));
    const BookRecord last = BookLayout::Read(longer).record(2);
    auto shorter = streamOf(AssembleBook({page}));
    Bytes destination = Sentinel;
    EXPECT_THROW(ReadIndexedRecord(shorter, last, destination), BookFormatError);
    EXPECT_EQ(destination, Sentinel);
}
