#include "app/core/render/ImagePlacement.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

constexpr int Panel = 49;

struct Case {
    const char *name;
    ImagePlacementInput input; // client w, h, panel, page w, h, zoom, full screen
    QRect expected;
    std::optional<ScrollBarReset> scrollBar;
};

const Case Cases[] = {
    // left max(0, (800 - 1000) div 2) = 0; top max(49, 49 + (600 - 49 - 1400) div 2) = 49
    {"actual size, larger page", {800, 600, Panel, 1000, 1400, 0, false}, {0, 49, 1000, 1400}, {}},
    // left (800 - 300) div 2 = 250; top 49 + (600 - 49 - 200) div 2 = 49 + 175 = 224
    {"actual size, smaller page", {800, 600, Panel, 300, 200, 0, false}, {250, 224, 300, 200}, {}},
    // scroll max 1000 - 600 = 400 before placing; top max(0, (600 - 1000) div 2) = 0
    {"full screen actual size",
     {800, 600, Panel, 300, 1000, 0, true},
     {250, 0, 300, 1000},
     ScrollBarReset{false, 400}},
    // fx = 800/1000, fy = 551/1100 = 0.50090..; height 551, width 500.9 -> 501;
    // left (800 - 501) div 2 = 149; top 49 + max(0, (551 - 551) div 2) = 49
    {"screen size, height limits",
     {800, 600, Panel, 1000, 1100, 1, false},
     {149, 49, 501, 551},
     {}},
    // f = fy = 700/2000 = 0.35: 700 x 490; left (1000 - 490) div 2 = 255; scroll max 0
    {"full screen, screen size",
     {1000, 700, Panel, 1400, 2000, 1, true},
     {255, 0, 490, 700},
     ScrollBarReset{true, 0}},
    // f = fx = 0.5; height 1001 x 0.5 = 500.5 -> 500 (even); top 49 + (551 - 500) div 2 = 74
    {"full width, tie down to even",
     {500, 600, Panel, 1000, 1001, 2, false},
     {0, 74, 500, 500},
     {}},
    // height 1003 x 0.5 = 501.5 -> 502 (even); top max(0, (400 - 502) div 2) = 0; scroll max 102
    {"full screen full width, tie up to even",
     {500, 400, Panel, 1000, 1003, 2, true},
     {0, 0, 500, 502},
     ScrollBarReset{true, 102}},
    // f = fy = 600/900: 600 x 800; a wide page overflows: left max(0, (800 - 1333) div 2) = 0
    {"full height", {800, 649, Panel, 1200, 900, 3, false}, {0, 49, 800, 600}, {}},
    {"full height, wider than the window",
     {800, 649, Panel, 2000, 900, 3, false},
     {0, 49, 1333, 600},
     {}},
    // the panel is not counted in full screen: fy = 600/1200 = 0.5
    {"full screen full height",
     {800, 600, Panel, 1000, 1200, 3, true},
     {150, 0, 500, 600},
     ScrollBarReset{true, 0}},
    // a page of no size (nothing could be shown) stays at 0 x 0 without dividing by zero
    {"empty page", {800, 600, Panel, 0, 0, 1, false}, {400, 49 + 275, 0, 0}, {}},
};

class PlaceImageTest : public testing::TestWithParam<Case> {};

TEST_P(PlaceImageTest, PlacesThePage)
{
    const Case &c = GetParam();
    const std::optional<ImagePlacement> placement = PlaceImage(c.input);
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->geometry, c.expected);
    ASSERT_EQ(placement->scrollBar.has_value(), c.scrollBar.has_value());
    if (c.scrollBar) {
        EXPECT_EQ(placement->scrollBar->afterPlacement, c.scrollBar->afterPlacement);
        EXPECT_EQ(placement->scrollBar->maximum, c.scrollBar->maximum);
    }
}

INSTANTIATE_TEST_SUITE_P(Zoom, PlaceImageTest, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<Case> &param) {
                             std::string name = param.param.name;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(PlaceImage, SmallPageKeepsItsSizeCentredBelowThePanelInEveryMode)
{
    for (int zoom = 0; zoom <= 3; ++zoom) {
        SCOPED_TRACE(zoom);
        const auto placement = PlaceImage({800, 600, Panel, 300, 200, zoom, false});
        ASSERT_TRUE(placement);
        EXPECT_EQ(placement->geometry, QRect(250, 224, 300, 200));
    }
}

TEST(PlaceImage, NoSelectionPlacesNothing)
{
    for (int zoom : {-1, 4, 7}) {
        SCOPED_TRACE(zoom);
        EXPECT_FALSE(PlaceImage({800, 600, Panel, 300, 200, zoom, false}));
        EXPECT_FALSE(PlaceImage({800, 600, Panel, 300, 200, zoom, true}));
    }
}

} // namespace
