// The shell's plain text of a description. The first input byte chooses the options: bit 0
// a paragraph as a blank, the others the maximum length in steps of 8 (0: no cut); the rest
// is the RTF.
#include "fuzz/Fuzz.h"
#include "shellext/RtfToText.h"

#include <string_view>

void FuzzInput(std::span<const std::uint8_t> data)
{
    if (data.empty())
        return;
    const bool parAsBlank = data[0] & 1;
    const int maxLength = (data[0] >> 1) * 8;
    const std::string_view rtf(reinterpret_cast<const char *>(data.data()) + 1, data.size() - 1);
    const std::string text = shellext::RtfToText(rtf, parAsBlank, maxLength);

    // No escape gives more than it takes, the cut adds "...".
    if (text.size() > rtf.size() + 3)
        FuzzFault("the text is longer than its RTF");
    if (maxLength > 0 && text.size() > std::size_t(maxLength) &&
        (text.size() != std::size_t(maxLength) + 3 || !text.ends_with("...")))
        FuzzFault("a text over the maximum length is not cut to it with \"...\"");
    if (!text.empty() && (static_cast<unsigned char>(text.front()) <= ' ' ||
                          static_cast<unsigned char>(text.back()) < ' '))
        FuzzFault("the text is not trimmed");
}
