#include "app/core/pages/PdfPageSize.h"
#include "tests/support/BookFixture.h"
#include "tests/support/CountingBuffer.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

using Objects = PdfBuilder::Objects;

std::stringstream streamOf(const Objects &objects)
{
    return std::stringstream(PdfBuilder().section(objects, "/Root 1 0 R").data(),
                             std::ios::in | std::ios::binary);
}

// A catalog and a page tree whose root has the given entries and the given pages.
Objects tree(const std::string &rootEntries, const std::vector<std::string> &pages)
{
    std::string kids;
    Objects objects = {{1, "<< /Type /Catalog /Pages 2 0 R >>"}};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        kids += std::to_string(i + 3) + " 0 R ";
        objects.emplace_back(int(i) + 3, "<< /Type /Page /Parent 2 0 R " + pages[i] + " >>");
    }
    objects.insert(objects.begin() + 1,
                   {2, "<< /Type /Pages /Kids [ " + kids + "] /Count " +
                           std::to_string(pages.size()) + " " + rootEntries + " >>"});
    return objects;
}

// The size of a page as Ghostscript lays it out, read from the page tree.
TEST(PdfPageSize, IsTheMediaBoxAsGhostscriptLaysItOut)
{
    const struct {
        const char *name;
        std::string rootEntries;
        std::string page;
        std::optional<PdfPageSize> size;
    } cases[] = {
        {"own box", "", "/MediaBox [0 0 612 792]", PdfPageSize{612, 792}},
        {"inherited box", "/MediaBox [0 0 300 150]", "", PdfPageSize{300, 150}},
        {"own box before the inherited one", "/MediaBox [0 0 300 150]", "/MediaBox [0 0 10 20]",
         PdfPageSize{10, 20}},
        {"signed and real numbers", "", "/MediaBox [-10.5 .5 +289.5 150.5]", PdfPageSize{300, 150}},
        {"reversed corners", "", "/MediaBox [300 300 0 100]", PdfPageSize{300, 200}},
        {"user unit", "", "/MediaBox [0 0 100 50] /UserUnit 10", PdfPageSize{1000, 500}},
        {"a quarter turn", "", "/MediaBox [0 0 200 100] /Rotate 90", PdfPageSize{100, 200}},
        {"a quarter turn back, inherited", "/Rotate -270", "/MediaBox [0 0 200 100]",
         PdfPageSize{100, 200}},
        {"a half turn", "", "/MediaBox [0 0 200 100] /Rotate 180", PdfPageSize{200, 100}},
        {"the crop box is not the page", "", "/MediaBox [0 0 300 300] /CropBox [0 0 1 1]",
         PdfPageSize{300, 300}},
        {"no box: A4", "", "", PdfPageSize{595, 842}},
        {"a box that is no array of numbers", "", "/MediaBox [0 0 large 14400]", std::nullopt},
        {"a user unit that is no number", "", "/MediaBox [0 0 1 1] /UserUnit x", std::nullopt},
        {"a number with an exponent, which PDF has not", "", "/MediaBox [0 0 1e9 1]", std::nullopt},
        {"a box too large for a number", "", "/MediaBox [0 0 1" + std::string(400, '0') + " 1]",
         std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto stream = streamOf(tree(c.rootEntries, {c.page}));
        EXPECT_EQ(PdfPageSizeIn(stream, 0), c.size);
    }
}

// Pages are found through the /Kids of every level; a box may be a reference to an array.
TEST(PdfPageSize, FindsEachPageThroughTheKidsOfEveryLevel)
{
    const Objects objects = {
        {1, "<< /Type /Catalog /Pages 2 0 R >>"},
        {2, "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 4 /MediaBox 9 0 R >>"},
        {3, "<< /Type /Pages /Kids [5 0 R 6 0 R 7 0 R] /Count 10 0 R /MediaBox [0 0 30 30] >>"},
        {4, "<< /Type /Page /Parent 2 0 R >>"},
        {5, "<< /Type /Page /Parent 3 0 R /MediaBox [0 0 10 10] >>"},
        {6, "<< /Type /Page /Parent 3 0 R >>"},
        {7, "<< /Type /Page /Parent 3 0 R /Rotate 270 /MediaBox [0 0 70 7] >>"},
        {9, "[0 0 40 44]"},
        {10, "3"},
    };
    const std::vector<PdfPageSize> sizes = {{10, 10}, {30, 30}, {7, 70}, {40, 44}};
    for (std::int32_t page = 0; page < 4; ++page) {
        auto stream = streamOf(objects);
        EXPECT_EQ(PdfPageSizeIn(stream, page), sizes[std::size_t(page)]) << page;
    }
    auto stream = streamOf(objects);
    EXPECT_EQ(PdfPageSizeIn(stream, 4), std::nullopt);
    EXPECT_EQ(PdfPageSizeIn(stream, -1), std::nullopt);
    EXPECT_EQ(PdfPageSizesIn(stream), sizes);
}

// Finding a page among many reads each kid's entry and object once, in blocks read once or
// twice, not in turns with the cross-reference table.
TEST(PdfPageSize, AFlatTreeOfManyPagesIsReadInFewBlocks)
{
    const std::vector<std::string> pages(3000, "/MediaBox [0 0 10 20]");
    const Bytes pdf = ToBytes(PdfBuilder().section(tree("", pages), "/Root 1 0 R").data());
    for (const bool all : {false, true}) {
        SCOPED_TRACE(all ? "every page" : "the last page");
        CountingBuffer counting(pdf);
        std::istream stream(&counting);
        if (all)
            EXPECT_EQ(PdfPageSizesIn(stream),
                      std::vector<PdfPageSize>(pages.size(), PdfPageSize{10, 20}));
        else
            EXPECT_EQ(PdfPageSizeIn(stream, 2999), (PdfPageSize{10, 20}));
        EXPECT_LE(counting.bytesRead, 8 * std::int64_t(pdf.size()));
    }
}

// Trees that lead nowhere end the walk: a loop, a node repeated until its pages would outnumber
// the count, a kid that is no reference, a file that is no PDF.
TEST(PdfPageSize, TreesThatLeadNowhereGiveNone)
{
    const std::string repeated = "<< /Type /Pages /Kids [4 0 R 4 0 R 4 0 R 4 0 R] /Count 1 >>";
    const struct {
        const char *name;
        std::string data;
    } cases[] = {
        {"a loop", PdfBuilder()
                       .section({{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                                 {2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"},
                                 {3, "<< /Type /Pages /Kids [2 0 R] /Count 1 >>"}},
                                "/Root 1 0 R")
                       .data()},
        {"a node repeated", PdfBuilder()
                                .section({{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                                          {2, repeated},
                                          {3, "<< /Type /Page >>"},
                                          {4, repeated}},
                                         "/Root 1 0 R")
                                .data()},
        {"a kid that is no reference", PdfBuilder()
                                           .section({{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                                                     {2, "<< /Type /Pages /Kids [(3)] /Count 1 >>"},
                                                     {3, "<< /Type /Page >>"}},
                                                    "/Root 1 0 R")
                                           .data()},
        {"no PDF", "not even a PDF"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::stringstream stream(c.data, std::ios::in | std::ios::binary);
        EXPECT_EQ(PdfPageSizeIn(stream, 0), std::nullopt);
        EXPECT_EQ(PdfPageSizesIn(stream), std::nullopt);
    }
}

} // namespace
