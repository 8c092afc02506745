#pragma once

#include <QRect>

#include <cstdint>
#include <optional>

// Where the page picture goes for a zoom mode, in client coordinates of the window.
struct ImagePlacementInput {
    std::int32_t clientWidth = 0;
    std::int32_t clientHeight = 0;
    std::int32_t panelHeight = 0; // counted in a window only
    std::int32_t pageWidth = 0;
    std::int32_t pageHeight = 0;
    int zoom = 0; // 0 "Taille réelle", 1 "Taille écran", 2 "Pleine largeur", 3 "Pleine hauteur"
    bool fullScreen = false;
};

// In full screen the hidden scroll bar is reset: its maximum and a position of 0 are set
// before the picture is placed (actual size), or after it with the range first widened
// to the full 32-bit span (the other modes).
struct ScrollBarReset {
    bool afterPlacement = false;
    std::int32_t maximum = 0;
};

struct ImagePlacement {
    QRect geometry;
    std::optional<ScrollBarReset> scrollBar; // full screen only
};

// Nothing when no zoom mode is selected. No mode enlarges a page beyond its own size; sizes
// round to nearest with halves to even.
std::optional<ImagePlacement> PlaceImage(const ImagePlacementInput &input);
