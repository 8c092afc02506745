#include "platform/Raster.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A raster whose pixel (x, y) has the colour 0x0000yx.
platform::Raster numbered(int width, int height)
{
    platform::Raster raster(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            raster.setPixel(x, y, static_cast<std::uint32_t>(y << 4 | x));
    return raster;
}

std::vector<std::uint32_t> rowOf(const platform::Raster &raster, int y)
{
    std::vector<std::uint32_t> pixels;
    for (int x = 0; x < raster.width(); ++x)
        pixels.push_back(raster.pixel(x, y));
    return pixels;
}

constexpr std::uint32_t W = platform::Raster::White;

} // namespace

TEST(Raster, StartsWhiteAndRefusesANegativeSize)
{
    const platform::Raster raster(3, 2);
    EXPECT_EQ(rowOf(raster, 1), (std::vector<std::uint32_t>{W, W, W}));
    EXPECT_EQ(raster.bits()[3], 0xFF) << "opaque";
    EXPECT_THROW(platform::Raster(-1, 2), std::invalid_argument);
    EXPECT_EQ(platform::Raster(0, 0).width(), 0);
}

TEST(Raster, StretchDrawTakesThePixelUnderEachCentreAndClipsAtTheEdges)
{
    const platform::Raster source = numbered(4, 2);
    struct Case {
        const char *what;
        platform::Rect target;
        int row;
        std::vector<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"one to one", {0, 0, 4, 2}, 1, {0x10, 0x11, 0x12, 0x13, W, W}},
        {"halved: the second of each pair", {1, 0, 3, 1}, 0, {W, 0x11, 0x13, W, W, W}},
        {"enlarged by half", {0, 0, 6, 4}, 3, {0x10, 0x11, 0x11, 0x12, 0x13, 0x13}},
        {"partly outside on the left", {-2, 0, 2, 2}, 0, {0x02, 0x03, W, W, W, W}},
        {"partly outside on the right", {4, 0, 8, 2}, 0, {W, W, W, W, 0x00, 0x01}},
        {"empty target", {2, 0, 2, 2}, 0, {W, W, W, W, W, W}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        platform::Raster raster(6, 4);
        raster.stretchDraw(source, c.target);
        EXPECT_EQ(rowOf(raster, c.row), c.expected);
    }
}

TEST(Raster, TextIsBlackWithinItsLineAndClipped)
{
    platform::Raster raster(40, 12);
    raster.drawText(-3, 2, "Erreur");
    int black = 0;
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x) {
            const std::uint32_t pixel = raster.pixel(x, y);
            ASSERT_TRUE(pixel == W || pixel == platform::Raster::Black);
            if (pixel == platform::Raster::Black) {
                ++black;
                EXPECT_TRUE(y >= 2 && y < 2 + platform::Raster::TextHeight) << y;
                EXPECT_LT(x, 6 * 6 - 3);
            }
        }
    EXPECT_GT(black, 40);
    EXPECT_EQ(raster.pixel(0, 2), platform::Raster::Black) << "the E's top bar, cut at x 0";
}
