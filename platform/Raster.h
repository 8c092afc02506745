#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

// A rectangle whose left and top edges are inside it and whose right and bottom edges are not.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect &) const = default;
};

// A bitmap in memory, the stand-in for a device-independent bitmap and its canvas: rows top
// to bottom, 4 bytes B, G, R, 0xFF per pixel (QImage::Format_RGB32 on a little-endian machine).
class Raster {
public:
    static constexpr std::uint32_t White = 0xFFFFFF;
    static constexpr std::uint32_t Black = 0x000000;
    // Height in pixels of a line of drawText.
    static constexpr int TextHeight = 7;
    // Width in pixels of `text` written by drawText.
    static int TextWidth(std::string_view text);

    // A white bitmap; a negative size raises std::invalid_argument.
    Raster(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t bytesPerLine() const { return static_cast<std::size_t>(width_) * 4; }
    const std::uint8_t *bits() const { return pixels_.data(); }
    std::uint8_t *row(int y)
    {
        return pixels_.data() + static_cast<std::size_t>(y) * bytesPerLine();
    }

    // 0xRRGGBB.
    std::uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, std::uint32_t colour);

    // Copies the whole of `source` onto `target`, scaled to its size by taking for every pixel
    // the source pixel under its centre; what falls outside this bitmap is clipped.
    void stretchDraw(const Raster &source, const Rect &target);

    // Writes `text` in black with the bitmap's own font, the top-left corner of its first
    // glyph at (x, y); clipped at the edges. The font holds the letters of the texts that
    // this system draws on bitmaps; any other character shows as a box.
    void drawText(int x, int y, std::string_view text);

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

} // namespace platform
