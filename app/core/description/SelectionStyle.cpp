#include "app/core/description/SelectionStyle.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QFont fontOf(const QTextCharFormat &format, const QTextDocument &document)
{
    return format.font().resolve(document.defaultFont());
}

} // namespace

SelectionStyle StyleOfSelection(const QTextCursor &cursor)
{
    const QTextDocument &document = *cursor.document();
    if (!cursor.hasSelection()) {
        const QFont font = fontOf(cursor.charFormat(), document);
        return {font.weight() >= QFont::DemiBold, font.italic(), font.underline(), font.strikeOut(),
                font.pointSizeF()};
    }

    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    SelectionStyle style{true, true, true, true, -1};
    for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start || fragment.position() >= end)
                continue;
            const QFont font = fontOf(fragment.charFormat(), document);
            if (style.pointSize < 0)
                style.pointSize = font.pointSizeF();
            style.bold = style.bold && font.weight() >= QFont::DemiBold;
            style.italic = style.italic && font.italic();
            style.underline = style.underline && font.underline();
            style.strikeOut = style.strikeOut && font.strikeOut();
        }
    }
    // A selection of paragraph breaks only: the format at its start.
    if (style.pointSize < 0) {
        QTextCursor at(cursor);
        at.setPosition(start);
        return StyleOfSelection(at);
    }
    return style;
}
