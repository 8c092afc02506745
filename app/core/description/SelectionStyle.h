#pragma once

#include <QFont>

class QTextCursor;

// The character style that the editor's buttons and size box show for a selection.
struct SelectionStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    qreal pointSize = 0;
};

// A style is held when every selected character has it; the size is that of the first
// selected character. Without a selection: the format that typing at the cursor gives.
// Formats are resolved against the document's default font.
SelectionStyle StyleOfSelection(const QTextCursor &cursor);
