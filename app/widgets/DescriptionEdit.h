#pragma once

#include <QTextEdit>

// The rich-text box of the description editor. A description keeps text and its formatting
// only, so what a paste or a drop brings in is that: its pictures and objects (the object
// replacement character U+FFFC that stands for them in a document) are left out, and a
// picture alone brings nothing.
class DescriptionEdit : public QTextEdit {
    Q_OBJECT

public:
    explicit DescriptionEdit(QWidget *parent = nullptr);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};
