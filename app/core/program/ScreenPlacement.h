#pragma once

#include <QList>
#include <QRect>

#include <cstdint>

// A window's left, top, width and height as the settings keep them: any 32-bit values.
struct WindowBounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const WindowBounds &) const = default;
};

// The title bar that the window manager adds is taken as this high, above the bounds; a strip
// of it this wide is what the user needs to reach to move the window.
inline constexpr int TitleBarHeight = 30;
inline constexpr int TitleStripWidth = 100;

// Bounds that the window can take on the screens' available areas (the primary screen first):
// sizes below 1 become 1; on the screen that holds most of the window with its title bar, a
// window too wide or too high for that screen is fitted to it, and the window moves the least
// that puts its title bar's top edge and a TitleStripWidth strip of it on that screen. A window
// on no screen is centred on the primary one, fitted to it when larger. Nothing (a null
// QRect) without screens.
QRect BringOntoScreens(const WindowBounds &bounds, const QList<QRect> &screens);
