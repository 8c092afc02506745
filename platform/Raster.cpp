#include "platform/Raster.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace platform {

namespace {

// Glyphs of 5 by 7 pixels, one byte a row from the top, bit 4 the leftmost column.
struct Glyph {
    char character;
    std::array<std::uint8_t, Raster::TextHeight> rows;
};

constexpr int GlyphWidth = 5;
constexpr int GlyphAdvance = GlyphWidth + 1;

constexpr Glyph Font[] = {
    {' ', {0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b00000}},
    {'E', {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b11111}},
    {'a', {0b00000, 0b00000, 0b01110, 0b00001, 0b01111, 0b10001, 0b01111}},
    {'c', {0b00000, 0b00000, 0b01110, 0b10000, 0b10000, 0b10001, 0b01110}},
    {'d', {0b00001, 0b00001, 0b01101, 0b10011, 0b10001, 0b10001, 0b01111}},
    {'e', {0b00000, 0b00000, 0b01110, 0b10001, 0b11111, 0b10000, 0b01110}},
    {'l', {0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110}},
    {'r', {0b00000, 0b00000, 0b10110, 0b11001, 0b10000, 0b10000, 0b10000}},
    {'t', {0b01000, 0b01000, 0b11100, 0b01000, 0b01000, 0b01001, 0b00110}},
    {'u', {0b00000, 0b00000, 0b10001, 0b10001, 0b10001, 0b10011, 0b01101}},
};

constexpr Glyph Box = {'?', {0b11111, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b11111}};

const Glyph &glyphOf(char character)
{
    for (const Glyph &glyph : Font)
        if (glyph.character == character)
            return glyph;
    return Box;
}

// The source index under the centre of target index i, for a target of `targetLength`
// pixels showing `sourceLength` pixels.
int sourceIndex(int i, int targetLength, int sourceLength)
{
    return static_cast<int>((2 * std::int64_t{i} + 1) * sourceLength /
                            (2 * std::int64_t{targetLength}));
}

} // namespace

Raster::Raster(int width, int height) : width_(width), height_(height)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("platform::Raster: negative size");
    pixels_.assign(bytesPerLine() * static_cast<std::size_t>(height), 0xFF);
}

std::uint32_t Raster::pixel(int x, int y) const
{
    const std::uint8_t *p = pixels_.data() + static_cast<std::size_t>(y) * bytesPerLine() + x * 4;
    return std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

void Raster::setPixel(int x, int y, std::uint32_t colour)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    std::uint8_t *p = row(y) + x * 4;
    p[0] = static_cast<std::uint8_t>(colour);
    p[1] = static_cast<std::uint8_t>(colour >> 8);
    p[2] = static_cast<std::uint8_t>(colour >> 16);
    p[3] = 0xFF;
}

void Raster::stretchDraw(const Raster &source, const Rect &target)
{
    if (target.width() <= 0 || target.height() <= 0 || source.width_ == 0 || source.height_ == 0)
        return;
    const int left = std::max(target.left, 0);
    const int right = std::min(target.right, width_);
    const int top = std::max(target.top, 0);
    const int bottom = std::min(target.bottom, height_);
    std::vector<int> columns;
    for (int x = left; x < right; ++x)
        columns.push_back(sourceIndex(x - target.left, target.width(), source.width_));
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t *from =
            source.bits() +
            sourceIndex(y - target.top, target.height(), source.height_) * source.bytesPerLine();
        std::uint8_t *to = row(y) + left * 4;
        for (const int column : columns) {
            std::copy_n(from + column * 4, 4, to);
            to += 4;
        }
    }
}

int Raster::TextWidth(std::string_view text)
{
    return text.empty() ? 0 : static_cast<int>(text.size()) * GlyphAdvance - 1;
}

void Raster::drawText(int x, int y, std::string_view text)
{
    for (const char character : text) {
        const Glyph &glyph = glyphOf(character);
        for (int r = 0; r < TextHeight; ++r)
            for (int c = 0; c < GlyphWidth; ++c)
                if (glyph.rows[r] & (1 << (GlyphWidth - 1 - c)))
                    setPixel(x + c, y + r, Black);
        x += GlyphAdvance;
    }
}

} // namespace platform
