#pragma once

#include "app/book/BookFile.h"

#include <QDialog>
#include <QSpinBox>

class Dialogs;
class Prompter;
class QLabel;
class QPushButton;
class QTextEdit;
class QToolButton;
class QWidget;
struct BookPages;

// The size box of the editor: its arrows keep to its range, but while it has the focus any
// whole number may be typed; leaving it brings the text back into the range.
class TailleBox : public QSpinBox {
    Q_OBJECT

public:
    explicit TailleBox(QWidget *parent = nullptr);
    // Shows value without reporting it as an edit.
    void showValue(int value);

signals:
    // The user changed the text: by typing, by the arrows, or by leaving the box.
    void edited();

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    int valueFromText(const QString &text) const override;
    void stepBy(int steps) override;

private:
    void reportIfChanged();
    QString reported_;
};

// The description editor, shown modally from the main window: a rich-text area under a
// tool bar of formatting commands; "Enregistrer" makes its text the open book's description.
class TDesc : public QDialog {
    Q_OBJECT

public:
    TDesc(BookPages &state, Prompter &prompter, Dialogs &dialogs, QWidget *parent = nullptr);

    // Replaces the text with a description (RTF, or plain text), the cursor at its start.
    void loadDescription(const Bytes &rtf);

    QWidget *ToolBar1 = nullptr;
    QToolButton *Gras = nullptr;
    QToolButton *Italique = nullptr;
    QToolButton *Souligne = nullptr;
    QToolButton *Barre = nullptr;
    QToolButton *Couleur = nullptr;
    QToolButton *Polive = nullptr;
    QToolButton *Gauche = nullptr;
    QToolButton *Milieu = nullptr;
    QToolButton *Droite = nullptr;
    QToolButton *Couper = nullptr;
    QToolButton *copier = nullptr;
    QToolButton *Coller = nullptr;
    QLabel *Label1 = nullptr;
    TailleBox *Taille = nullptr;
    QToolButton *Annuler = nullptr;
    QPushButton *Sauver = nullptr;
    QPushButton *Quitter = nullptr;
    QTextEdit *RichEdit1 = nullptr;

    void GrasClick();
    void ItaliqueClick();
    void SouligneClick();
    void BarreClick();
    void CouleurClick();
    void PoliveClick();
    void GaucheClick();
    void MilieuClick();
    void DroiteClick();
    void CouperClick();
    void copierClick();
    void CollerClick();
    void AnnulerClick();
    void RichEdit1SelectionChange();
    void TailleChange();
    void SauverClick();
    void QuitterClick();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class CharStyle { Bold, Italic, Underline, StrikeOut };
    void createToolBar();
    void placeControls();
    // Removes the style from the selection when it holds it, else adds it; the button shows
    // whether the selection has it now.
    void toggle(CharStyle style, QToolButton *button);

    BookPages &state_;
    Prompter &prompter_;
    Dialogs &dialogs_;
};
