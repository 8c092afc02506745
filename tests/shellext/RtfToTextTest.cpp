#include "shellext/RtfToText.h"

#include "tests/support/DocumentFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(RtfToText, KeepsTheTextOfEveryGroupButDestinationsAndTranslatesItsEscapes)
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
        {"the text of a formatting group is kept", "{\\rtf1 {\\b gras} normal}", "gras normal"},
        {"the sample book's description",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
         "\\f0\\fs24{\\b Exemple} : une bande dessin\\'e9e de d\\'e9monstration.\\par\r\n}",
         "Exemple : une bande dessin\xE9"
         "e de d\xE9monstration."},
        {"groups nested deeply", "{\\rtf1{\\b{\\i{\\ul{\\strike tout}} au} fond} fin}",
         "tout au fond fin"},
        {"destinations hold no text, nor their escapes and breaks",
         "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
         "{\\info{\\title Le titre\\par fin}{\\author Moi}}{\\*\\generator Writer\\'e9;}"
         "{\\pict\\pngblip 89504e47}{\\object{\\objdata 0102}}{\\header En-t\\'eate\\tab x}"
         "{\\footer Pied}texte}",
         "texte"},
        {"a formatting group inside a destination stays out", "{\\rtf1{\\info{\\b gras}}texte}",
         "texte"},
        {"text after a destination comes back", "{\\rtf1{\\*\\foo{x}y}{\\b a}b}", "ab"},
        {"a field gives its result, not its instruction",
         "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt lien}}", "lien"},
        {"a line break before the destination's word", "{\r\n\\fonttbl Arial;}texte", "texte"},
        {"a destination's word elsewhere in a group is only a control word", "{\\b\\fonttbl gras}",
         "gras"},
        {"an escaped brace opens no destination", "\\{\\fonttbl x\\}", "{x}"},
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

TEST(RtfToText, KeepsTheWordsOfADescriptionWrittenByLibreOffice)
{
    if (!HasLibreOffice())
        GTEST_SKIP() << "soffice is not installed: no LibreOffice document to convert";
    const TempDir dir;
    const Bytes rtf = RtfWrittenByLibreOffice(dir.path(), R"(<html><head><meta charset="utf-8">
<title>Titre cach&eacute;</title></head><body>
<p><b>Exemple</b> : une <i>bande <b>dessinée</b></i> de démonstration.</p>
<p align="center"><font color="#ff0000">Deux</font> pages de <u>garde</u> ici.</p>
</body></html>)");
    ASSERT_FALSE(rtf.empty());

    const std::string text = shellext::RtfToText(std::string(rtf.begin(), rtf.end()), false, 0);
    // The writer breaks its lines after control words; the conversion keeps those breaks,
    // so the words are compared with every run of blanks and breaks as one blank.
    std::string words;
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            words += c;
        else if (!words.empty() && words.back() != ' ')
            words += ' ';
    EXPECT_EQ(words, "Exemple : une bande dessin\xE9"
                     "e de d\xE9monstration. Deux pages de garde ici.")
        << text;
    const std::size_t end = text.find("monstration.");
    const std::size_t next = text.find("Deux");
    ASSERT_LT(end, next);
    EXPECT_NE(text.substr(end, next - end).find("\r\n"), std::string::npos)
        << "no line break between the paragraphs: " << text;
}
