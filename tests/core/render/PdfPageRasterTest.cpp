#include "app/core/render/PdfPageRaster.h"
#include "app/jpeg/Jpeg.h"

#include <gtest/gtest.h>

namespace {

// A page is rendered at 200 dpi while it then holds no more pixels than a page may and no side
// longer than a JPEG's; a larger one at the resolution that fits, into a raster of a page's
// pixels at most.
TEST(PdfPageRaster, IsAt200DpiOrAtTheResolutionThatFits)
{
    const struct {
        const char *name;
        PdfPageSize page;
        int width, height; // 0: fitted, checked against the limits
    } cases[] = {
        {"A4", {595, 842}, 1653, 2339},
        {"rounded to the nearest pixel", {100.2, 100.7}, 278, 280},
        {"a thread of a page", {0.1, 0.1}, 1, 1},
        {"just within", {2085, 2085}, 5792, 5792},
        {"14,400 points square", {14400, 14400}, 0, 0},
        {"long and thin", {14400, 10}, 40000, 28},
        {"longer than a JPEG's side", {100000, 10}, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const PdfPageRaster raster = FitPdfPageRaster(c.page);
        if (c.width) {
            EXPECT_EQ(raster, (PdfPageRaster{200, c.width, c.height}));
            continue;
        }
        EXPECT_LT(raster.dpi, 200);
        EXPECT_LE(std::uint64_t(raster.width) * std::uint64_t(raster.height), jpeg::MaxPixels);
        EXPECT_LE(std::max(raster.width, raster.height), 65500);
        EXPECT_NEAR(double(raster.width) / raster.height, c.page.width / c.page.height,
                    c.page.width / c.page.height * (0.01 + 1.0 / raster.height));
    }
    const PdfPageRaster square = FitPdfPageRaster({14400, 14400});
    EXPECT_GE(std::uint64_t(square.width) * std::uint64_t(square.height), jpeg::MaxPixels * 0.99);
    EXPECT_EQ(FitPdfPageRaster({100000, 10}).width, 65500);
}

TEST(GhostscriptRasterArguments, FixTheResolutionAndTheRaster)
{
    EXPECT_EQ(GhostscriptRasterArguments({200, 1653, 2339}),
              (QStringList{"-r200x200", "-g1653x2339", "-dFIXEDMEDIA"}));
    EXPECT_EQ(GhostscriptRasterArguments({28.961658, 5792, 5792}),
              (QStringList{"-r28.961658x28.961658", "-g5792x5792", "-dFIXEDMEDIA"}));
}

} // namespace
