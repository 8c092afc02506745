#include "app/book/BookLayout.h"

#include "tests/support/BookFixture.h"
#include "tests/support/CountingBuffer.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/ZeroBuffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <sstream>

namespace {

std::stringstream streamOf(const Bytes &bytes)
{
    return std::stringstream(std::string(bytes.begin(), bytes.end()),
                             std::ios::in | std::ios::binary);
}

const char *const CorruptMessage = "Le fichier n'est pas une bande dessinée valide.";

// Every record the layout places is the one ReadBookRecord reads; the last one is the meta
// record unless it starts as an image does, an empty one included.
TEST(BookLayout, PlacesEveryRecordAndTellsTheMetaRecord)
{
    const Bytes cover = MakeJpeg(8, 8, Qt::blue), page = MakeJpeg(16, 8, Qt::green);
    const Bytes meta = MakeMetaRecord("{\\rtf1 x}\r\n", StandardMetaLines({cover, page}));
    const Bytes small{0xFF, 0xD8, 0xFF, 0xD9};
    struct Case {
        const char *name;
        Bytes book;
        std::int32_t records;
        bool meta;
    };
    const std::vector<Case> cases = {
        {"no record", {}, 0, false},
        {"one image", AssembleBook({page}), 1, false},
        {"images and a meta record", AssembleBook({cover, page, page, meta}), 4, true},
        {"an empty record in the middle", AssembleBook({cover, {}, page}), 3, false},
        {"an empty record in front of the trailer is not counted", AssembleBook({cover, page, {}}),
         2, false},
        {"an empty last record is an empty meta record", PageAndTwoEmptyRecords(), 2, true},
        {"an empty record 0", AssembleBook({{}, page}), 2, false},
        {"only a meta record", AssembleBook({meta}), 1, true},
        {"only an empty record, in front of another", AssembleBook({{}, {}}), 1, true},
        {"runs of equal records",
         AssembleBook({cover, {}, {}, {}, small, small, {}, page, page, small, meta}), 11, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto stream = streamOf(c.book);
        const BookLayout layout = BookLayout::Read(stream);
        ASSERT_EQ(layout.recordCount(), c.records);
        ASSERT_EQ(ReadBookRecord(stream, nullptr, INT32_MAX), c.records);
        EXPECT_EQ(layout.hasMetaRecord(), c.meta);
        EXPECT_EQ(layout.imageCount(), c.records - (c.meta ? 1 : 0));
        for (std::int32_t i = 0; i < c.records; ++i) {
            Bytes walked, placed;
            ReadBookRecord(stream, &walked, i);
            ReadIndexedRecord(stream, layout.record(i), placed);
            EXPECT_EQ(placed, walked) << "record " << i;
        }
        EXPECT_EQ(layout.metaRecord().has_value(), c.meta);
        if (c.meta) {
            EXPECT_EQ(layout.metaRecord()->offset, layout.record(c.records - 1).offset);
        }
        EXPECT_THROW(layout.record(c.records), std::out_of_range);
        EXPECT_THROW(layout.record(-1), std::out_of_range);
    }
}

// The whole chain is checked, also past the records a walk to an early index would reach.
TEST(BookLayout, CorruptChainEndsWithFormatError)
{
    const Bytes jpeg = MakeJpeg(8, 8);
    Bytes book = AssembleBook({jpeg, jpeg, jpeg});
    book.insert(book.end() - 4, {0x05, 0x00, 0x00, 0x00, 'a', 'b'}); // length past the trailer
    auto stream = streamOf(book);
    EXPECT_EQ(ReadBookRecord(stream, nullptr, 1), -1);
    try {
        BookLayout::Read(stream);
        ADD_FAILURE() << "no error";
    } catch (const BookFormatError &error) {
        EXPECT_STREQ(error.what(), CorruptMessage);
    }
}

// A zero-filled file holds an empty record every 4 bytes: one of 8 GiB holds as many as the
// count holds, and 4 bytes more make a chain of one record too many, which is corrupt. The runs
// of empty records are counted at the speed of a scan for bytes that are not 0.
TEST(BookLayout, AChainOfMoreRecordsThanTheCountHoldsIsCorrupt)
{
    constexpr std::int64_t MostRecordsFile = std::int64_t(INT32_MAX) * 4 + 4;
    {
        ZeroBuffer zeros(MostRecordsFile);
        std::istream stream(&zeros);
        const BookLayout layout = BookLayout::Read(stream);
        EXPECT_EQ(layout.recordCount(), INT32_MAX);
        EXPECT_TRUE(layout.hasMetaRecord());
        EXPECT_EQ(layout.record(INT32_MAX - 1).offset, MostRecordsFile - 8);
    }
    for (const std::int64_t size : {MostRecordsFile + 4, std::int64_t(8'589'934'600)}) {
        SCOPED_TRACE(size);
        ZeroBuffer zeros(size);
        std::istream stream(&zeros);
        try {
            BookLayout::Read(stream);
            ADD_FAILURE() << "no error";
        } catch (const BookFormatError &error) {
            EXPECT_STREQ(error.what(), CorruptMessage);
        }
        EXPECT_THROW(ReadBookRecord(stream, nullptr, INT32_MAX), BookFormatError);
    }
}

// Chains of many small or empty records are read in blocks: the reads, the seeks and the
// bytes read grow with the file's size, not with its count of records.
TEST(BookLayout, ReadsAChainOfSmallRecordsInFewBlocks)
{
    struct Case {
        const char *name;
        Bytes book;
        std::int32_t records;
        std::int32_t holdingBytes;
    };
    const std::vector<Case> cases = {
        {"4-byte records", TinyRecordBook(50'000), 50'000, 50'000},
        // The last empty record lies in front of the trailer: it is not counted.
        {"empty records", EmptyRecordBook(100'000), 100'000, 1},
    };
    for (const auto &[name, book, records, holdingBytes] : cases) {
        SCOPED_TRACE(name);
        for (const bool seeing : {false, true}) {
            CountingBuffer counting(book);
            std::istream stream(&counting);
            std::int32_t seen = 0;
            const BookLayout layout =
                seeing ? BookLayout::Read(stream, [&](std::int32_t, auto) { ++seen; })
                       : BookLayout::Read(stream);
            EXPECT_EQ(layout.recordCount(), records);
            const auto blocks = std::int64_t(book.size() / (32 << 10)) + 4;
            EXPECT_LE(counting.reads, blocks);
            EXPECT_LE(std::int64_t(counting.seeks.size()), blocks);
            EXPECT_LE(counting.bytesRead, std::int64_t(book.size()) + 8);
            // Only records that hold bytes are handed over.
            EXPECT_EQ(seen, seeing ? holdingBytes : 0);
        }
    }
}

// Records up to WholeRecordLimit are handed over whole as they are read, once each; a larger
// record is passed over unread but for the start of a block, and so is every record when
// nothing takes them.
TEST(BookLayout, HandsOverTheRecordsItReadsWhole)
{
    const auto filled = [](std::size_t size, std::uint8_t byte) { return Bytes(size, byte); };
    const std::vector<Bytes> records = {
        filled(100, 0xFF),
        filled(BookLayout::WholeRecordLimit, 0xFF),
        filled(BookLayout::WholeRecordLimit + 1, 0xFF),
        {},
        filled(3 << 10, 0xFF),
        filled(BookLayout::WholeRecordLimit + 1, 0xFF),
        filled(200, '%'),
    };
    const Bytes book = AssembleBook(records);

    CountingBuffer counting(book);
    std::istream stream(&counting);
    std::map<std::int32_t, Bytes> handed;
    const BookLayout layout =
        BookLayout::Read(stream, [&](std::int32_t index, std::span<const std::uint8_t> bytes) {
            EXPECT_TRUE(handed.emplace(index, Bytes(bytes.begin(), bytes.end())).second);
        });
    EXPECT_TRUE(layout.hasMetaRecord());
    const std::map<std::int32_t, Bytes> whole = {
        {0, records[0]}, {1, records[1]}, {4, records[4]}, {6, records[6]}};
    EXPECT_EQ(handed, whole);
    EXPECT_LE(counting.bytesRead,
              std::int64_t(book.size()) - 2 * BookLayout::WholeRecordLimit + 2 * (64 << 10));

    CountingBuffer passing(book);
    std::istream unseen(&passing);
    EXPECT_EQ(BookLayout::Read(unseen).recordCount(), std::int32_t(records.size()));
    EXPECT_LE(passing.bytesRead, std::int64_t(records.size()) * (64 << 10));
}

} // namespace
