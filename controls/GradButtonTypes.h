#pragma once

#include <cstdint>

// A colour value as the windows store it: red in the low byte, green in the next, blue in the
// third, the high byte 0 (0xC6ECFF is blue C6, green EC, red FF).
using TColor = std::uint32_t;

enum TColorScheme : std::uint8_t {
    csNeoDesert,
    csNeoSky,
    csNeoGrass,
    csNeoSilver,
    csNeoRose,
    csNeoSun,
    csDesert,
    csGrass,
    csSky,
    csSun,
    csRose,
    csSilver,
    csCustom
};

enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The visual state; the disabled look is drawn whatever the state.
enum class ButtonState : std::uint8_t { Normal, Hot, Pressed };

// The indices of the 25 colour properties, six per look (normal, hot, pressed, disabled) in
// the order face, gradient end, dark edge, light edge, border, caption, then the focus rectangle.
enum TColorIndex : int {
    ColorFace,
    ColorGrad,
    ColorDark,
    ColorLight,
    ColorBorder,
    ColorText,
    OverColorFace,
    OverColorGrad,
    OverColorDark,
    OverColorLight,
    OverColorBorder,
    OverColorText,
    DownColorFace,
    DownColorGrad,
    DownColorDark,
    DownColorLight,
    DownColorBorder,
    DownColorText,
    DisabledColorFace,
    DisabledColorGrad,
    DisabledColorDark,
    DisabledColorLight,
    DisabledColorBorder,
    DisabledColorText,
    ColorFocusRect,
    ColorCount
};
