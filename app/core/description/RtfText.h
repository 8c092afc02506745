#pragma once

#include <QString>
#include <QStringView>

// What the RTF reader and writer agree to keep of a document's text, so that a document
// read back writes the same bytes.

// Tabs, line breaks inside a paragraph (U+2028) and printable characters. Control characters,
// paragraph separators and object placeholders are dropped.
inline bool IsKeptCharacter(char16_t c)
{
    if (c == u'\t' || c == 0x2028)
        return true;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0))
        return false;
    return c != 0x2029 && c != 0xFFFC && c != 0xFDD0 && c != 0xFDD1;
}

// text without the characters that are not kept, a lone surrogate becoming U+FFFD.
inline QString KeptText(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            kept += text[i];
            kept += text[++i];
        } else if (QChar::isSurrogate(c)) {
            kept += QChar(QChar::ReplacementCharacter);
        } else if (IsKeptCharacter(c)) {
            kept += text[i];
        }
    }
    return kept;
}
