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

// The window "Description", opened by "Outils > Ajouter/Remplacer la description...".
// The description editor, shown modally from the main window: a rich-text area under a
// tool bar of formatting commands; "Enregistrer" makes its text the open book's description.
class TDesc : public QDialog {
    Q_OBJECT

public:
    TDesc(BookPages &state, Prompter &prompter, Dialogs &dialogs, QWidget *parent = nullptr);

    // Replaces the text with a description (RTF, or plain text), the cursor at its start.
    void loadDescription(const Bytes &rtf);

    // The tool bar along the top of the editor.
    QWidget *ToolBar1 = nullptr;
    // "Gras" (its tooltip; icon G): bold on or off; shows whether the selection is bold.
    QToolButton *Gras = nullptr;
    // "Italique" (icon I): italic on or off.
    QToolButton *Italique = nullptr;
    // "Souligné" (icon S): underline on or off.
    QToolButton *Souligne = nullptr;
    // "Barré": strike-out on or off.
    QToolButton *Barre = nullptr;
    // "Couleur du texte": the colour dialog for the selection.
    QToolButton *Couleur = nullptr;
    // "Police": the font dialog for the selection ("Polive" is the program's own name).
    QToolButton *Polive = nullptr;
    // "Aligner à gauche": aligns the paragraph left.
    QToolButton *Gauche = nullptr;
    // "Centrer": centres the paragraph.
    QToolButton *Milieu = nullptr;
    // "Aligner à droite": aligns the paragraph right.
    QToolButton *Droite = nullptr;
    // "Couper": cuts the selection.
    QToolButton *Couper = nullptr;
    // "Copier": copies the selection.
    QToolButton *copier = nullptr;
    // "Coller": pastes at the cursor.
    QToolButton *Coller = nullptr;
    // "Taille", the caption of the size box.
    QLabel *Label1 = nullptr;
    // The size box: the selection's point size, 10 to 100 by its arrows.
    TailleBox *Taille = nullptr;
    // "Annuler": undoes the last edit.
    QToolButton *Annuler = nullptr;
    // "Enregistrer": makes the text the open book's description and closes the editor.
    QPushButton *Sauver = nullptr;
    // "Quitter": closes the editor without saving.
    QPushButton *Quitter = nullptr;
    // The text being edited.
    QTextEdit *RichEdit1 = nullptr;

    // "Gras": bold on or off for the selection.
    void GrasClick();
    // "Italique": italic on or off for the selection.
    void ItaliqueClick();
    // "Souligné": underline on or off for the selection.
    void SouligneClick();
    // "Barré": strike-out on or off for the selection.
    void BarreClick();
    // "Couleur du texte": the colour dialog, then the selection in that colour.
    void CouleurClick();
    // "Police": the font dialog, then the selection in that font.
    void PoliveClick();
    // "Aligner à gauche": the paragraph aligned left.
    void GaucheClick();
    // "Centrer": the paragraph centred.
    void MilieuClick();
    // "Aligner à droite": the paragraph aligned right.
    void DroiteClick();
    // "Couper": cuts the selection.
    void CouperClick();
    // "Copier": copies the selection.
    void copierClick();
    // "Coller": pastes.
    void CollerClick();
    // "Annuler": undoes the last edit.
    void AnnulerClick();
    // The cursor or the selection moved: the style buttons and the size box show its style.
    void RichEdit1SelectionChange();
    // The size box edited: gives the selection that size.
    void TailleChange();
    // "Enregistrer": rewrites the book's description record and closes the editor.
    void SauverClick();
    // "Quitter": closes the editor without saving.
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
