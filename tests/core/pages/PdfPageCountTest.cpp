#include "app/core/pages/PdfPageCount.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/ProcessIo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::int32_t countFile(const std::filesystem::path &path)
{
    NoUiHooks ui;
    return CountPdfPages(QString::fromStdString(path.string()), ui);
}

std::int32_t countBytes(const std::string &bytes)
{
    TempDir dir;
    const std::filesystem::path path = dir / "document.pdf";
    std::ofstream(path, std::ios::binary) << bytes;
    return countFile(path);
}

struct WriterCase {
    const char *writer;
    void (*make)(const std::filesystem::path &, int);
    int pages;
};

void PrintTo(const WriterCase &c, std::ostream *os)
{
    *os << c.writer << ' ' << c.pages;
}

class WrittenPdfTest : public ::testing::TestWithParam<WriterCase> {};

TEST_P(WrittenPdfTest, CountsThePages)
{
    TempDir dir;
    const std::filesystem::path path = dir / "document.pdf";
    GetParam().make(path, GetParam().pages);
    EXPECT_EQ(countFile(path), GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(Writers, WrittenPdfTest,
                         ::testing::Values(WriterCase{"gs", MakeGhostscriptPdf, 1},
                                           WriterCase{"gs", MakeGhostscriptPdf, 7},
                                           WriterCase{"gs", MakeGhostscriptPdf, 40},
                                           WriterCase{"qt", MakeQtPdf, 1},
                                           WriterCase{"qt", MakeQtPdf, 6},
                                           WriterCase{"qt", MakeQtPdf, 25}));

TEST(CountPdfPages, ReadsAClassicTableWrittenByQpdfButNotACrossReferenceStream)
{
    TempDir dir;
    MakeGhostscriptPdf(dir / "source.pdf", 5);
    RewriteWithQpdf(dir / "source.pdf", dir / "table.pdf", {"--object-streams=disable"});
    RewriteWithQpdf(dir / "source.pdf", dir / "stream.pdf", {"--object-streams=generate"});
    EXPECT_EQ(countFile(dir / "table.pdf"), 5);
    EXPECT_EQ(countFile(dir / "stream.pdf"), -1);
}

using Objects = PdfBuilder::Objects;

struct HandCase {
    const char *name;
    std::function<std::string()> make;
    std::int32_t expected;
};

void PrintTo(const HandCase &c, std::ostream *os)
{
    *os << c.name;
}

std::string simple(const Objects &objects, const std::string &trailer = "/Root 1 0 R")
{
    return PdfBuilder().section(objects, trailer).data();
}

Objects withObject(Objects objects, int number, const std::string &body)
{
    objects.emplace_back(number, body);
    return objects;
}

// One section whose /Prev points at itself.
std::string selfReferencing()
{
    const Objects objects = PdfBuilder::PageTree(2, "2");
    const long xref = PdfBuilder().section(objects, "/Root 1 0 R").lastXref();
    return simple(objects, "/Root 1 0 R /Prev " + std::to_string(xref));
}

// Two pages, then an update that adds a third page to the page tree.
std::string pageAddedByUpdate(const std::string &updateTrailer)
{
    return PdfBuilder()
        .section(PdfBuilder::PageTree(2, "2"), "/Root 1 0 R")
        .section({{2, "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 >>"},
                  {5, "<< /Type /Page >>"}},
                 updateTrailer)
        .data();
}

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

class HandPdfTest : public ::testing::TestWithParam<HandCase> {};

TEST_P(HandPdfTest, Counts)
{
    EXPECT_EQ(countBytes(GetParam().make()), GetParam().expected);
}

const Objects nestedCount = {
    {1, "<< /Type /Catalog /Pages 2 0 R >>"},
    {2, "<< /Type /Pages /Resources << /Font << /Count 99 >> /Count 98 >> /Kids [3 0 R 4 0 R] "
        "/Count 2 >>"},
    {3, "<< /Type /Page >>"},
    {4, "<< /Type /Page >>"}};

INSTANTIATE_TEST_SUITE_P(
    Documents, HandPdfTest,
    ::testing::Values(
        HandCase{"DirectCount", [] { return simple(PdfBuilder::PageTree(12, "12")); }, 12},
        HandCase{"IndirectCount",
                 [] { return simple(withObject(PdfBuilder::PageTree(12, "15 0 R"), 15, "12")); },
                 12},
        HandCase{"CountFollowedByANumberOnly",
                 [] { return simple(PdfBuilder::PageTree(3, "3 4")); }, 3},
        HandCase{"NoPages", [] { return simple(PdfBuilder::PageTree(0, "0")); }, 0},
        HandCase{"NestedCountIgnored", [] { return simple(nestedCount); }, 2},
        HandCase{"IncrementalUpdateWins", [] { return pageAddedByUpdate("/Root 1 0 R"); }, 3},
        HandCase{"RootFromOlderTrailer", [] { return pageAddedByUpdate(""); }, 3},
        HandCase{"NewestRootWins",
                 [] {
                     return PdfBuilder()
                         .section(PdfBuilder::PageTree(2, "2"), "/Root 1 0 R")
                         .section({{6, "<< /Type /Catalog /Pages 7 0 R >>"},
                                   {7, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"}},
                                  "/Root 6 0 R")
                         .data();
                 },
                 1},
        // Failures: -1 and nothing read outside the file.
        HandCase{"Empty", [] { return std::string(); }, -1},
        HandCase{"NotAPdf", [] { return std::string("Bonjour, ceci n'est pas un PDF.\n"); }, -1},
        HandCase{"NoStartXref",
                 [] { return replaced(simple(PdfBuilder::PageTree(1, "1")), "startxref", "x"); },
                 -1},
        HandCase{"XrefStream",
                 [] {
                     return std::string("%PDF-1.5\n9 0 obj\n<< /Type /XRef /Root 1 0 R >>\n"
                                        "stream\nendstream\nendobj\nstartxref\n9\n%%EOF\n");
                 },
                 -1},
        HandCase{"StartXrefOutsideFile",
                 [] { return "%PDF-1.4\n1 0 obj\n<< >>\nendobj\nstartxref\n99999999\n%%EOF\n"; },
                 -1},
        HandCase{"PrevLoop", selfReferencing, -1},
        HandCase{"PrevOutsideFile",
                 [] { return simple(PdfBuilder::PageTree(2, "2"), "/Root 1 0 R /Prev 99999999"); },
                 -1},
        HandCase{"CatalogOffsetOutsideFile",
                 [] {
                     const std::string pdf = simple(PdfBuilder::PageTree(1, "1"));
                     const std::size_t line = pdf.find("1 1\n") + 4;
                     return pdf.substr(0, line) + "0099999999" + pdf.substr(line + 10);
                 },
                 -1},
        HandCase{"CatalogNotInTable",
                 [] { return simple(PdfBuilder::PageTree(1, "1"), "/Root 40 0 R"); }, -1},
        HandCase{"CountBeyondTheObjects", [] { return simple(PdfBuilder::PageTree(1, "2000000")); },
                 -1},
        HandCase{"NumberTooLarge", [] { return simple(PdfBuilder::PageTree(1, "99999999999")); },
                 -1},
        HandCase{"EntriesWithNoPagesBehindThem", [] { return PdfListingEntries(10'000); }, -1},
        HandCase{"XrefCountBeyondItsLines",
                 [] { return replaced(simple(PdfBuilder::PageTree(1, "1")), "1 1\n", "1 50\n"); },
                 -1}),
    [](const ::testing::TestParamInfo<HandCase> &caseInfo) { return caseInfo.param.name; });

// A PDF of 1 GiB whose objects lie at its start and its cross-reference table at its end: the
// count reads the tail and the objects, not what lies between.
TEST(CountPdfPages, ReadsTheTailAndTheObjectsItLeadsTo)
{
    TempDir dir;
    WriteSparsePdf(dir / "document.pdf", std::int64_t(1) << 30);
    const std::int64_t before = BytesReadSoFar();
    EXPECT_EQ(countFile(dir / "document.pdf"), 1);
    EXPECT_LT(BytesReadSoFar() - before, 1 << 20);
}

TEST(CountPdfPages, MissingFileGivesMinusOne)
{
    TempDir dir;
    EXPECT_EQ(countFile(dir / "absent.pdf"), -1);
}

class RecordingUiHooks : public UiHooks {
public:
    void processPendingEvents() override { calls.push_back("events"); }
    void setBusyCursor(bool busy) override { calls.push_back(busy ? "busy" : "default"); }
    std::vector<std::string> calls;
};

TEST(CountPdfPages, ShowsTheBusyCursorAndEndsWithTheDefaultOne)
{
    TempDir dir;
    const std::filesystem::path good = dir / "good.pdf";
    PdfBuilder().section(PdfBuilder::PageTree(2, "2"), "/Root 1 0 R").write(good);
    const std::filesystem::path bad = dir / "bad.pdf";
    PdfBuilder().append("damaged").write(bad);
    for (const auto &[path, expected] : {std::pair{good, 2}, std::pair{bad, -1}}) {
        RecordingUiHooks ui;
        EXPECT_EQ(CountPdfPages(QString::fromStdString(path.string()), ui), expected);
        EXPECT_EQ(ui.calls, (std::vector<std::string>{"busy", "events", "default"}));
    }
}

TEST(PdfScanner, FindsKeysOnlyAtTheTopLevelOfTheDictionary)
{
    std::istringstream text("<< /Alpha << /Key 1 >> /Key 2 >> /Key 3");
    PdfScanner scanner(text);
    std::int32_t value = 0;
    ASSERT_TRUE(scanner.PdfFindKey("/Key"));
    ASSERT_TRUE(scanner.PdfReadInt(value));
    EXPECT_EQ(value, 2);
    // The dictionary closes before the next "/Key".
    EXPECT_FALSE(scanner.PdfFindKey("/Key"));
}

} // namespace
