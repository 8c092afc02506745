#include "app/core/program/ScreenPlacement.h"

#include <gtest/gtest.h>

TEST(ScreenPlacement, BoundsOffEveryScreenMoveOntoTheFirst)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    struct Case {
        const char *name;
        QRect bounds, placed;
    };
    const Case cases[] = {
        {"inside", QRect(100, 100, 800, 600), QRect(100, 100, 800, 600)},
        {"partly off", QRect(-700, -50, 800, 600), QRect(-700, -50, 800, 600)},
        {"on the second screen", QRect(2000, 100, 800, 600), QRect(2000, 100, 800, 600)},
        {"right of both", QRect(5000, 100, 800, 600), QRect(1120, 100, 800, 600)},
        {"above", QRect(300, -2000, 800, 600), QRect(300, 0, 800, 600)},
        {"below and left", QRect(-3000, 4000, 800, 600), QRect(0, 480, 800, 600)},
        {"too large and off", QRect(9000, 9000, 4000, 3000), QRect(0, 0, 1920, 1080)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BringOntoScreens(c.bounds, screens), c.placed) << c.name;
    EXPECT_EQ(BringOntoScreens(QRect(5000, 0, 10, 10), {}), QRect(5000, 0, 10, 10));
}
