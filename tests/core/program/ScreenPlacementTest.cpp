#include "app/core/program/ScreenPlacement.h"

#include <gtest/gtest.h>

#include <climits>

// Two screens side by side, the primary one (first) with a task bar taken off its height.
// A title bar is taken as the 30 px above the window's bounds; the window with it must keep
// its top edge and a strip of 100 x 30 px of it on a screen.
TEST(ScreenPlacement, WindowsKeepTheirTitleBarOnAScreenAndFitIt)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};
    struct Case {
        const char *name;
        WindowBounds bounds;
        QRect placed;
    };
    const Case cases[] = {
        {"inside", {100, 100, 800, 600}, QRect(100, 100, 800, 600)},
        // 100 px of the title bar on the screen: reachable, kept.
        {"partly off to the left", {-700, 50, 800, 600}, QRect(-700, 50, 800, 600)},
        // 680 of its 800 px on the second screen, whose left edge holds it.
        {"across both screens", {1800, 100, 800, 600}, QRect(1800, 100, 800, 600)},
        // 10 x 10 px of the title bar on the primary screen: moved 90 px right, 620 px down.
        {"barely on the primary screen", {-790, -590, 800, 600}, QRect(-700, 30, 800, 600)},
        // A corner of the title bar on the second screen: left := 3200 - 100,
        // title bar top := 1024 - 30.
        {"barely on the second screen", {3190, 1044, 400, 300}, QRect(3100, 1024, 400, 300)},
        {"title bar above the screen", {100, 10, 800, 600}, QRect(100, 30, 800, 600)},
        // Larger than the screen it starts on: as wide as it, and as high with its title bar.
        {"larger than the second screen", {2000, 100, 3000, 2000}, QRect(1920, 30, 1280, 994)},
        // More of it on the primary screen (1820 x 970) than on the second (1280 x 954).
        {"maximum size", {100, 100, INT_MAX, INT_MAX}, QRect(0, 30, 1920, 1010)},
        {"covering both", {0, 0, 100000, 100000}, QRect(0, 30, 1920, 1010)},
        // Off every screen: centred on the primary one, (1920 - 800) / 2, (1040 - 630) / 2 + 30.
        {"right of both", {5000, 100, 800, 600}, QRect(560, 235, 800, 600)},
        {"above both", {300, -2000, 800, 600}, QRect(560, 235, 800, 600)},
        {"maximum position", {INT_MAX, INT_MAX, 800, 600}, QRect(560, 235, 800, 600)},
        {"minimum position", {INT_MIN, INT_MIN, 800, 600}, QRect(560, 235, 800, 600)},
        {"all maximum", {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, QRect(0, 30, 1920, 1010)},
        {"all 100000", {100000, 100000, 100000, 100000}, QRect(0, 30, 1920, 1010)},
        // Sizes below 1 become 1: (1920 - 1) / 2, (1040 - 31) / 2 + 30.
        {"all minimum", {INT_MIN, INT_MIN, INT_MIN, INT_MIN}, QRect(959, 534, 1, 1)},
        {"zero size", {100, 100, 0, 0}, QRect(100, 100, 1, 1)},
        {"size 1", {100, 100, 1, 1}, QRect(100, 100, 1, 1)},
        {"negative size", {100, 100, -5, -600}, QRect(100, 100, 1, 1)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BringOntoScreens(c.bounds, screens), c.placed) << c.name;
}

TEST(ScreenPlacement, TheScreenThatHoldsMostOfTheWindowBoundsIt)
{
    // The primary screen on the right, a smaller one on its left.
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(-1024, 200, 1024, 768)};
    EXPECT_EQ(BringOntoScreens({-1000, 300, 3000, 3000}, screens), QRect(0, 30, 1920, 1050));
    EXPECT_EQ(BringOntoScreens({-2000, 300, 3000, 600}, screens), QRect(-1024, 300, 1024, 600));
    EXPECT_EQ(BringOntoScreens({-900, 100, 400, 300}, screens), QRect(-900, 230, 400, 300));
    EXPECT_EQ(BringOntoScreens({-900, 5000, 400, 300}, screens), QRect(760, 405, 400, 300));
}

TEST(ScreenPlacement, WithoutScreensNothingIsPlaced)
{
    EXPECT_EQ(BringOntoScreens({10, 10, 800, 600}, {}), QRect());
}
