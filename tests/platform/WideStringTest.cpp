#include "platform/WideString.h"

#include <gtest/gtest.h>

TEST(WideString, Utf8AndUtf16ConvertWithoutLoss)
{
    const std::pair<std::string, std::u16string> cases[] = {
        {"", u""},
        {"livre.bd", u"livre.bd"},
        {"/tmp/Bande dessinée ß.bd", u"/tmp/Bande dessinée ß.bd"},
        {"漫画 €", u"漫画 €"},
        {"🎨 \U0010FFFF", u"🎨 \U0010FFFF"},
    };
    for (const auto &[utf8, utf16] : cases) {
        EXPECT_EQ(platform::Utf8ToUtf16(utf8), utf16) << utf8;
        EXPECT_EQ(platform::Utf16ToUtf8(utf16), utf8) << utf8;
    }
}

TEST(WideString, BrokenSequencesBecomeTheReplacementCharacter)
{
    EXPECT_EQ(platform::Utf16ToUtf8(std::u16string{u'a', char16_t(0xD800), u'b'}), "a\uFFFDb");
    EXPECT_EQ(platform::Utf16ToUtf8(std::u16string{char16_t(0xDC00)}), "\uFFFD");
    const std::pair<std::string, std::u16string> cases[] = {
        {"a\xE9z", u"a\uFFFDz"},                 // a Windows-1252 byte
        {"\xC3", u"\uFFFD"},                     // cut short
        {"\xC0\xAF", u"\uFFFD\uFFFD"},           // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // an encoded surrogate
    };
    for (const auto &[bytes, expected] : cases)
        EXPECT_EQ(platform::Utf8ToUtf16(bytes), expected);
}

TEST(WideString, AnsiIsWindows1252)
{
    EXPECT_EQ(platform::AnsiToUtf16("caf\xE9 \x80 \x9C \x81 \xFF"), u"café € œ \uFFFD ÿ");
}
