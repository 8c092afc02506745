#include "app/core/render/ImagePlacement.h"

#include <algorithm>
#include <cmath>

namespace {

std::int32_t half(std::int32_t x)
{
    return x / 2;
}

// 1 when the page fits, else the shrinking factor; a page of no size never shrinks.
long double factor(std::int32_t available, std::int32_t size)
{
    if (available > size || size <= 0)
        return 1.0L;
    return static_cast<long double>(available) / static_cast<long double>(size);
}

std::int32_t scaled(std::int32_t size, long double f)
{
    return static_cast<std::int32_t>(std::llrint(static_cast<long double>(size) * f));
}

} // namespace

std::optional<ImagePlacement> PlaceImage(const ImagePlacementInput &in)
{
    const std::int32_t cw = in.clientWidth;
    const std::int32_t ch = in.clientHeight;
    const std::int32_t ph = in.panelHeight;
    const std::int32_t w = in.pageWidth;
    const std::int32_t h = in.pageHeight;

    if (in.zoom == 0) {
        ImagePlacement result;
        if (in.fullScreen) {
            result.scrollBar = ScrollBarReset{false, std::max(0, h - ch)};
            result.geometry = QRect(std::max(0, half(cw - w)), std::max(0, half(ch - h)), w, h);
        } else {
            result.geometry =
                QRect(std::max(0, half(cw - w)), std::max(ph, ph + half(ch - ph - h)), w, h);
        }
        return result;
    }
    if (in.zoom < 1 || in.zoom > 3)
        return std::nullopt;

    const std::int32_t available = in.fullScreen ? ch : ch - ph;
    const long double fx = factor(cw, w);
    const long double fy = factor(available, h);
    long double f = fx;
    if (in.zoom == 1)
        f = std::min(fx, fy);
    else if (in.zoom == 3)
        f = fy;
    const std::int32_t height = scaled(h, f);
    const std::int32_t width = scaled(w, f);
    const std::int32_t left = std::max(0, half(cw - width));

    ImagePlacement result;
    if (in.fullScreen) {
        result.geometry = QRect(left, std::max(0, half(ch - height)), width, height);
        result.scrollBar = ScrollBarReset{true, std::max(0, height - ch)};
    } else {
        result.geometry = QRect(left, ph + std::max(0, half(ch - ph - height)), width, height);
    }
    return result;
}
