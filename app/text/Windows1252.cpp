#include "app/text/Windows1252.h"

#include <array>

namespace {

// 0x80 to 0x9F, where the code page differs from Latin-1.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

} // namespace

char16_t Windows1252ToUnicode(std::uint8_t byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return HighControls[byte - 0x80];
    return byte;
}

std::optional<std::uint8_t> UnicodeToWindows1252(char16_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return std::uint8_t(character);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == character && character != 0xFFFD)
            return std::uint8_t(0x80 + i);
    return std::nullopt;
}
