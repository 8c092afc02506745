#include "app/core/program/ScreenPlacement.h"

#include <algorithm>

namespace {

// A rectangle in 64 bits: bounds of any 32-bit values add up without overflow.
struct Box {
    std::int64_t left, top, width, height;

    explicit Box(const QRect &r)
        : left(r.left()), top(r.top()), width(r.width()), height(r.height())
    {
    }
    Box(std::int64_t l, std::int64_t t, std::int64_t w, std::int64_t h)
        : left(l), top(t), width(w), height(h)
    {
    }
};

std::int64_t overlap(std::int64_t begin1, std::int64_t length1, std::int64_t begin2,
                     std::int64_t length2)
{
    return std::max<std::int64_t>(0, std::min(begin1 + length1, begin2 + length2) -
                                         std::max(begin1, begin2));
}

std::int64_t overlapArea(const Box &a, const Box &b)
{
    return overlap(a.left, a.width, b.left, b.width) * overlap(a.top, a.height, b.top, b.height);
}

// Along one axis: a window at least as long as the screen is fitted to it; a shorter one
// moves the least that brings its start into [low, high].
void fitAxis(std::int64_t &begin, std::int64_t &length, std::int64_t screenBegin,
             std::int64_t screenLength, std::int64_t low, std::int64_t high)
{
    if (length >= screenLength) {
        begin = screenBegin;
        length = screenLength;
    } else {
        begin = std::max(low, std::min(begin, high));
    }
}

} // namespace

QRect BringOntoScreens(const WindowBounds &bounds, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return {};
    // The window with its title bar.
    Box window(bounds.left, std::int64_t(bounds.top) - TitleBarHeight,
               std::max<std::int64_t>(1, bounds.width),
               std::max<std::int64_t>(1, bounds.height) + TitleBarHeight);
    const QRect *holder = nullptr;
    std::int64_t held = 0;
    for (const QRect &screen : screens) {
        const std::int64_t area = overlapArea(window, Box(screen));
        if (area > held) {
            held = area;
            holder = &screen;
        }
    }
    const Box screen(holder ? *holder : screens.front());
    if (holder) {
        const std::int64_t strip = std::min<std::int64_t>(TitleStripWidth, window.width);
        fitAxis(window.left, window.width, screen.left, screen.width,
                screen.left - (window.width - strip), screen.left + screen.width - strip);
        fitAxis(window.top, window.height, screen.top, screen.height, screen.top,
                screen.top + screen.height - TitleBarHeight);
    } else {
        window.width = std::min(window.width, screen.width);
        window.height = std::min(window.height, screen.height);
        window.left = screen.left + (screen.width - window.width) / 2;
        window.top = screen.top + (screen.height - window.height) / 2;
    }
    const std::int64_t height = std::max<std::int64_t>(1, window.height - TitleBarHeight);
    return QRect(int(window.left), int(window.top + TitleBarHeight), int(window.width),
                 int(height));
}
