#pragma once

#include <string_view>

// RTF destinations that hold no text of the document: the font, colour, style and list
// tables, document information, pictures, objects, fields' instructions, headers, footers,
// notes and the like. A group that starts with \* is such a destination too, whatever its
// word. Shared by the description reader and the shell's plain-text conversion.
bool IsNonTextDestination(std::string_view word);
