#include "app/core/print/PrintGeometry.h"

#include "tests/core/print/PrintFixtures.h"
#include "tests/support/RecordingPrintTarget.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(PrintGeometry, NearestRoundsHalvesToEvenAndKeepsLow32Bits)
{
    struct Case {
        long double x;
        std::int32_t expected;
    };
    const Case cases[] = {
        {2.5L, 2},
        {3.5L, 4},
        {-2.5L, -2},
        {470.5L, 470},
        {471.49L, 471},
        {471.51L, 472},
        {4294967296.0L + 7, 7},
        {2147483648.0L, INT32_MIN},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Nearest(c.x), c.expected) << static_cast<double>(c.x);
}

// The printer of the examples, margins Haut 20, Gauche 20, Milieu 40, and four first pages.
TEST(PrintGeometry, WorkedExamples)
{
    struct Example {
        const char *layout;
        QSize page;
        MarginsMm minima;
        MarginDots dots;
        QSize area; // W (or W5) x H
        QSize dim;  // DimX x DimY
        PrintRect rect1;
        std::optional<PrintRect> rect2;
    };
    const Example examples[] = {
        {"A4",
         {1200, 1600},
         {4, 4, 0},
         {472, 471, 943},
         {4017, 6073},
         {4017, 6073},
         {371, 730, 4388, 6086},
         std::nullopt},
        {"A4",
         {1000, 1600},
         {4, 4, 0},
         {472, 471, 943},
         {4017, 6073},
         {4017, 6073},
         {482, 372, 4278, 6445},
         std::nullopt},
        // Same shape as the area: the width binds; the other branch would give (372, .., 4389, ..).
        {"A4",
         {4017, 6073},
         {4, 4, 0},
         {472, 471, 943},
         {4017, 6073},
         {4017, 6073},
         {371, 372, 4388, 6445},
         std::nullopt},
        // DimX is rounded once: 2565 against a page width of 2564 dots.
        {"A5",
         {1200, 1600},
         {4, 4, 0},
         {471, 472, 943},
         {2564, 4017},
         {2565, 4017},
         {372, 671, 2936, 4090},
         PrintRect{3879, 671, 6443, 4090}},
        {"A5",
         {1000, 1800},
         {4, 4, 0},
         {471, 472, 943},
         {2564, 4017},
         {2565, 4017},
         {538, 371, 2770, 4388},
         PrintRect{4046, 371, 6278, 4388}},
    };
    const MarginsMm margins{20, 20, 40};
    for (const Example &e : examples) {
        const bool a5 = QLatin1String(e.layout) == QLatin1String("A5");
        SCOPED_TRACE(std::string(e.layout) + " " + std::to_string(e.page.width()) + "x" +
                     std::to_string(e.page.height()));
        const PrinterGeometry printer =
            ExamplePrinter(a5 ? PaperOrientation::Landscape : PaperOrientation::Portrait);
        const DotsPerMm dpm = PrinterDotsPerMm(printer);

        const MarginsMm minima = MarginMinima(printer, dpm);
        EXPECT_EQ(minima.Haut, e.minima.Haut);
        EXPECT_EQ(minima.Gauche, e.minima.Gauche);
        const MarginDots dots = ToDots(margins, dpm);
        EXPECT_EQ(dots.top, e.dots.top);
        EXPECT_EQ(dots.left, e.dots.left);
        EXPECT_EQ(dots.middle, e.dots.middle);
        EXPECT_EQ(PrintArea(printer, dpm, margins, a5), e.area);
        EXPECT_EQ(RecommendedImageSize(printer, dpm, margins, QString::fromLatin1(e.layout)),
                  e.dim);

        if (a5) {
            const auto [left, right] = A5PrintRects(printer, dpm, margins, dots, e.page);
            EXPECT_EQ(left, e.rect1);
            EXPECT_EQ(right, *e.rect2);
        } else {
            EXPECT_EQ(A4PrintRect(printer, dpm, margins, dots, e.page), e.rect1);
        }
    }
}

TEST(PrintGeometry, MarginMinimaTakeTheWiderUnprintableEdge)
{
    PrinterGeometry p;
    p.PhysicalWidth = 4960;
    p.PhysicalOffsetX = 50;
    p.HorzRes = 4960 - 50 - 200; // right edge 200 dots, about 8.5 mm
    p.HorzSize = 200;
    p.PhysicalHeight = 7016;
    p.PhysicalOffsetY = 120; // top edge about 5.1 mm
    p.VertRes = 7016 - 120 - 30;
    p.VertSize = 291;
    const MarginsMm minima = MarginMinima(p, PrinterDotsPerMm(p));
    EXPECT_EQ(minima.Haut, 5);
    EXPECT_EQ(minima.Gauche, 8);
}

} // namespace
