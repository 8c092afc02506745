#include "app/widgets/DescriptionEdit.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

DescriptionEdit::DescriptionEdit(QWidget *parent) : QTextEdit(parent) {}

bool DescriptionEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() || (acceptRichText() && source->hasHtml());
}

void DescriptionEdit::insertFromMimeData(const QMimeData *source)
{
    if (!canInsertFromMimeData(source))
        return;
    // One edit block, so that one undo takes the whole paste back.
    QTextCursor inserted = textCursor();
    inserted.beginEditBlock();
    const int start = inserted.selectionStart();
    QTextEdit::insertFromMimeData(source);
    const QTextCursor end = textCursor(); // follows the removals before it
    const QString object(QChar::ObjectReplacementCharacter);
    for (QTextCursor found = document()->find(object, start);
         !found.isNull() && found.selectionEnd() <= end.position();
         found = document()->find(object, found))
        found.removeSelectedText();
    inserted.endEditBlock();
}
