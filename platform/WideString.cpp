#include "platform/WideString.h"

#include "app/text/Windows1252.h"

namespace platform {

namespace {

constexpr char32_t Replacement = 0xFFFD;

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendUtf16(std::u16string &out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c < 0xDC00;
}
bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c < 0xE000;
}

// The code point of the UTF-8 sequence at text[i], advancing i past it; overlong forms,
// surrogates and truncated sequences give U+FFFD for their first byte.
char32_t decodeUtf8(std::string_view text, std::size_t &i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return Replacement;
    }
    if (i + length > text.size()) {
        ++i;
        return Replacement;
    }
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return Replacement;
        }
        c = c << 6 | (byte(i + k) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || isHighSurrogate(c) || isLowSurrogate(c)) {
        ++i;
        return Replacement;
    }
    i += length;
    return c;
}

} // namespace

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (isHighSurrogate(c) || isLowSurrogate(c))
            c = Replacement;
        appendUtf8(out, c);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        appendUtf16(out, decodeUtf8(text, i));
    return out;
}

std::u16string AnsiToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const char byte : text)
        out += Windows1252ToUnicode(static_cast<std::uint8_t>(byte));
    return out;
}

} // namespace platform
