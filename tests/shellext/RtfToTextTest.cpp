#include "shellext/RtfToText.h"

#include <gtest/gtest.h>

TEST(RtfToText, KeepsTheTextOfTheFirstTwoDepthsAndTranslatesItsEscapes)
{
    struct Case {
        const char *what;
        std::string rtf;
        std::string expected;
        bool parAsBlank = false;
        int maxLength = 0;
    };
    const Case cases[] = {
        {"a description as the editors write it",
         "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\pard Bonjour\\par\r\n}", "Bonjour"},
        {"a hexadecimal escape", "caf\\'e9 cr\\'E8me", "caf\xE9 cr\xE8me"},
        {"a Unicode escape with its ANSI replacement", "caf\\u233\\'e9", "caf\xE9"},
        {"two backslashes", "a\\\\b", "a\\b"},
        {"escaped braces", "\\{x\\}", "{x}"},
        {"a tab ended by a blank", "a\\tab b", "a\tb"},
        {"a paragraph ended by a blank", "un\\par deux", "un\r\ndeux"},
        {"a line ended by the next control word", "un\\line\\tab deux", "un\r\n\tdeux"},
        {"a paragraph ended by a line feed, which stays", "un\\par\ndeux", "un\r\n\ndeux"},
        {"a paragraph ended by a carriage return is not translated", "un\\par\r\ndeux",
         "un\r\ndeux"},
        {"a paragraph as a blank", "un\\par deux", "un deux", true},
        {"a group inside the document is dropped", "{\\rtf1 {\\b gras} normal}", "normal"},
        {"unknown control words are dropped", "{\\rtf1\\f0\\fs24 texte}", "texte"},
        {"trailing control characters go, trailing blanks stay", "  \r\n texte \r\n\r\n", "texte "},
        {"only line breaks", "\r\n\t", ""},
        {"cut to the maximum length", "abcdef", "abc...", false, 3},
        {"no cut at exactly the maximum length", "abc", "abc", false, 3},
        {"a damaged escape ends the text, which is still trimmed and cut", "  abcdef\\'zz suite",
         "abc...", false, 3},
        {"an escape cut short by the end of the text", "\r\n texte\\'4", "texte"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(shellext::RtfToText(c.rtf, c.parAsBlank, c.maxLength), c.expected);
    }
}
