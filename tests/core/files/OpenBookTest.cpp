#include "app/core/files/OpenBook.h"

#include "tests/support/BookFixture.h"
#include "tests/support/ProcessIo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

// A book opened from its file reads each record with a read of the record's own length: the
// records of a grid of small pictures cost their bytes, not a stream buffer's worth each.
TEST(OpenBook, ReadsARecordOfTheFileWithoutReadingAround)
{
    if (BytesReadSoFar() < 0)
        GTEST_SKIP() << "the system does not count the bytes read";
    const std::vector<Bytes> records(2'000, Bytes(100, 0xFF));
    const Bytes book = AssembleBook(records);
    TempDir dir;
    const std::filesystem::path path = dir / "livre.bd";
    WriteFileBytes(path, book);

    const OpenBook open = OpenBook::open(QString::fromStdString(path.string()));
    ASSERT_EQ(open.layout().recordCount(), 2'000);
    const std::int64_t before = BytesReadSoFar();
    Bytes record;
    for (std::int32_t k = 0; k < 2'000; k += 2) {
        ASSERT_TRUE(open.read(k, record));
        ASSERT_EQ(record, records[std::size_t(k)]);
    }
    // And what reading /proc/self/io itself counts.
    EXPECT_LE(BytesReadSoFar() - before, 1'000 * 100 + 4'096);
}
