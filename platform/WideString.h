#pragma once

#include <string>
#include <string_view>

namespace platform {

// Conversions between the platform's wide strings (UTF-16), file names and texts (UTF-8) and
// the ANSI code page (Windows-1252). Nothing is lost between UTF-8 and UTF-16; a unit that is
// not part of a valid sequence (a lone surrogate, a stray byte) becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
std::u16string AnsiToUtf16(std::string_view text);

} // namespace platform
