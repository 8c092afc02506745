#pragma once

#include <cstdint>
#include <optional>

// Windows-1252, the ANSI code page of book descriptions. Its five unassigned bytes decode to
// U+FFFD.
char16_t Windows1252ToUnicode(std::uint8_t byte);

// The byte of a character of the code page; nothing for any other character.
std::optional<std::uint8_t> UnicodeToWindows1252(char16_t character);
