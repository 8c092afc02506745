#include "controls/GradButton.h"
#include "tests/controls/Pixels.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// csNeoSilver on 89 x 25 in the normal state: gradient F3 -> BC over 25 rows, step -2.2.
TEST(GradButtonPaint, NeoSilverNormalFace)
{
    TGradButton button;
    button.SetColorScheme(csNeoSilver);
    button.setGeometry(0, 0, 89, 25);
    const QImage image = Shot(button);
    ASSERT_EQ(image.size(), QSize(89, 25));

    for (int x = 0; x < 89; ++x) {
        EXPECT_EQ(PixelAt(image, x, 0), 0x626262u) << x;
        EXPECT_EQ(PixelAt(image, x, 24), 0x626262u) << x;
    }
    for (int y = 0; y < 25; ++y) {
        EXPECT_EQ(PixelAt(image, 0, y), 0x626262u) << y;
        EXPECT_EQ(PixelAt(image, 88, y), 0x626262u) << y;
    }
    for (int y = 2; y <= 23; ++y)
        EXPECT_EQ(PixelAt(image, 1, y), 0xF7F7F7u) << y;
    for (int x = 1; x <= 86; ++x)
        EXPECT_EQ(PixelAt(image, x, 1), 0xF7F7F7u) << x;
    for (int y = 1; y <= 22; ++y)
        EXPECT_EQ(PixelAt(image, 87, y), 0xA7A7A7u) << y;
    for (int x = 2; x <= 87; ++x)
        EXPECT_EQ(PixelAt(image, x, 23), 0xA7A7A7u) << x;

    // Inside the edges, row y is 243 - 2.2 y rounded: 238.6 -> EF, 216.6 -> D9, 194.6 -> C3.
    const struct {
        int y;
        TColor expected;
    } rows[] = {{2, 0xEFEFEF}, {12, 0xD9D9D9}, {22, 0xC3C3C3}};
    for (const auto &row : rows)
        for (int x = 2; x <= 86; ++x)
            EXPECT_EQ(PixelAt(image, x, row.y), row.expected) << x << "," << row.y;
}

} // namespace
