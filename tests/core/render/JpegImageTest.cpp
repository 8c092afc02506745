#include "app/core/render/JpegImage.h"
#include "tests/support/BookFixture.h"

#include <gtest/gtest.h>

// A large picture is decoded into the memory of one let go before it: it must hold only its
// own pixels, and a picture still shown must never be written over.
TEST(JpegImage, APictureInReusedMemoryHoldsOnlyItsOwnPixels)
{
    // 1,000 x 700 pixels of 4 bytes: large enough for its memory to be kept when let go.
    const Bytes red = MakeJpeg(1000, 700, Qt::red);
    const Bytes blue = MakeJpeg(1000, 700, Qt::blue);
    const Bytes wider = MakeJpeg(1200, 700, Qt::green);
    const QImage redPixels = DecodeJpegImage(red).copy();
    const QImage bluePixels = DecodeJpegImage(blue).copy();
    ASSERT_FALSE(redPixels == bluePixels);

    QImage shown = DecodeJpegImage(red);
    for (int turn = 0; turn < 4; ++turn) {
        SCOPED_TRACE(turn);
        const bool toBlue = turn % 2 == 0;
        const QImage next = DecodeJpegImage(toBlue ? blue : red);
        EXPECT_TRUE(shown == (toBlue ? redPixels : bluePixels)) << "the page shown was changed";
        EXPECT_TRUE(next == (toBlue ? bluePixels : redPixels));
        shown = next;
        // A picture of another size between two pages.
        if (turn == 1) {
            EXPECT_EQ(DecodeJpegImage(wider).width(), 1200);
        }
    }
}
