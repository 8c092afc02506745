#include "controls/GradButton.h"

#include <gtest/gtest.h>

namespace {

TEST(GradButtonScheme, NewButtonHasItsDefaults)
{
    TGradButton button;
    EXPECT_EQ(button.width(), 75);
    EXPECT_EQ(button.height(), 25);
    EXPECT_EQ(button.ColorScheme(), csNeoDesert);
    EXPECT_TRUE(button.Gradient());
    EXPECT_TRUE(button.TabStop());
    EXPECT_TRUE(button.HotTrack());
    EXPECT_TRUE(button.Ctl3D());
    EXPECT_TRUE(button.TransparentGlyph());
    EXPECT_TRUE(button.Glyph().isNull());
    EXPECT_EQ(button.Layout(), blGlyphLeft);
    EXPECT_EQ(button.Spacing(), 4);
    EXPECT_EQ(button.ModalResult(), 0);
    EXPECT_FALSE(button.Cancel());
    EXPECT_FALSE(button.Default());
    EXPECT_EQ(button.State(), ButtonState::Normal);
    EXPECT_FALSE(button.Focused());
    // csNeoDesert, except the three gradient ends that the constructor whitens afterwards.
    EXPECT_EQ(button.Color(ColorFace), 0xC6ECFFu);
    EXPECT_EQ(button.Color(ColorGrad), 0x37BEFFu);
    EXPECT_EQ(button.Color(OverColorGrad), 0xFFFFFFu);
    EXPECT_EQ(button.Color(DownColorGrad), 0xFFFFFFu);
    EXPECT_EQ(button.Color(DisabledColorGrad), 0xFFFFFFu);
    EXPECT_EQ(button.Color(ColorFocusRect), 0x4080FFu);
}

// One probe per scheme, a different property each time, to catch a shifted row or column.
TEST(GradButtonScheme, EachSchemeSetsItsColours)
{
    struct Probe {
        TColorScheme scheme;
        TColorIndex index;
        TColor expected;
    };
    const Probe probes[] = {
        {csNeoDesert, DownColorFace, 0x2BBAFF}, {csNeoSky, ColorGrad, 0xFFB66C},
        {csNeoGrass, OverColorDark, 0x23B459},  {csNeoSilver, ColorFace, 0xF3F3F3},
        {csNeoRose, DownColorDark, 0xCECEFF},   {csNeoSun, OverColorGrad, 0x05BCDC},
        {csDesert, ColorFace, 0x95DDFF},        {csGrass, ColorFocusRect, 0x00A421},
        {csSky, OverColorDark, 0xFFB164},       {csSun, DownColorFace, 0x22EEFF},
        {csRose, DownColorDark, 0x8888FF},      {csSilver, DisabledColorBorder, 0xC4C4C4},
    };
    for (const Probe &probe : probes) {
        TGradButton button;
        button.SetColorScheme(probe.scheme);
        EXPECT_EQ(button.ColorScheme(), probe.scheme);
        EXPECT_EQ(button.Color(probe.index), probe.expected) << "scheme " << int(probe.scheme);
        EXPECT_EQ(button.Color(DisabledColorText), 0x808080u);
        EXPECT_EQ(button.Color(ColorText), 0x000000u);
    }
}

TEST(GradButtonScheme, FlatSchemeKeepsTheGradientEnds)
{
    TGradButton button;
    button.SetColorScheme(csNeoSky);
    button.SetColorScheme(csDesert);
    EXPECT_EQ(button.ColorScheme(), csDesert);
    EXPECT_FALSE(button.Gradient());
    EXPECT_EQ(button.Color(ColorFace), 0x95DDFFu);
    EXPECT_EQ(button.Color(ColorGrad), 0xFFB66Cu);
    EXPECT_EQ(button.Color(OverColorGrad), 0xFFA346u);
    EXPECT_EQ(button.Color(DownColorGrad), 0xFFCE9Du);
    EXPECT_EQ(button.Color(DisabledColorGrad), 0xFFFFFFu);

    button.SetColorScheme(csNeoGrass);
    EXPECT_TRUE(button.Gradient());
    EXPECT_EQ(button.Color(ColorGrad), 0x5EDF8Eu);
}

TEST(GradButtonScheme, OneColourMakesTheSchemeCustomAndCustomChangesNothing)
{
    TGradButton button;
    button.SetColorScheme(csNeoSilver);
    button.SetColorByIndex(OverColorBorder, 0x123456);
    EXPECT_EQ(button.ColorScheme(), csCustom);
    EXPECT_EQ(button.Color(OverColorBorder), 0x123456u);
    EXPECT_EQ(button.Color(ColorBorder), 0x626262u);

    button.SetGradient(false);
    button.SetColorScheme(csCustom);
    EXPECT_EQ(button.ColorScheme(), csCustom);
    EXPECT_FALSE(button.Gradient());
    EXPECT_EQ(button.Color(OverColorBorder), 0x123456u);
    EXPECT_EQ(button.Color(ColorFace), 0xF3F3F3u);
}

} // namespace
