#pragma once

#include <string>
#include <string_view>

namespace shellext {

// The plain text of a book's RTF description, in the ANSI code page: the characters of every
// group but the destinations that hold no text (font table, information, pictures, groups
// that start with \* and the like, see IsNonTextDestination), with "\par", "\line" and
// "\pard" as a line break (a blank with parAsBlank), "\tab" as a tab and "\'hh" as the
// character hh, every other control word dropped. Trailing
// control characters and leading blanks are removed; a text longer than maxLength (when above
// 0) is cut to maxLength characters followed by "...". An escape whose two characters are not
// hexadecimal digits ends the text there.
std::string RtfToText(std::string_view rtf, bool parAsBlank, int maxLength);

} // namespace shellext
