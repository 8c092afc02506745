#pragma once

#include "app/core/print/PrintLayoutCommand.h"
#include "app/core/print/PrintState.h"
#include "app/core/print/PrintTarget.h"

#include <QDialog>
#include <QSpinBox>

class QLabel;
class QPushButton;

// A spin edit that cannot be typed into: its value moves only by its arrows and arrow keys.
class ArrowSpinBox : public QSpinBox {
public:
    ArrowSpinBox(int minimum, int maximum, int value, int step, QWidget *parent);

    // One step at a time, also for Page Up and Page Down and the wheel.
    void stepBy(int steps) override;
};

// The margins dialog "Marges": top/bottom, left/right and middle margins in millimetres, and
// the page image size that fills one page position on the current printer.
// Shown by "Imprimer > A4..." and "A5..." once the printer is chosen.
class TForm2 : public QDialog, public MarginsDialog {
public:
    TForm2(PrintState &state, const PrintTarget &printer, QWidget *parent = nullptr);

    void setMiddleEnabled(bool enabled) override;
    void setMinima(const MarginsMm &minima) override;
    void refresh() override { HautChange(); }
    void showModal() override;
    MarginsMm values() const override;

    // Any of the three margins changed: "X : " and "Y : " show the page image size for them.
    void HautChange();
    // "Valider": closes the dialog; the print then goes on with these margins.
    void ValiderClick();

    // "Haut et bas :": the top and bottom margin, from the printer's minimum to 100 mm.
    ArrowSpinBox *Haut;
    // "Gauche et droite :": the left and right margin, from the printer's minimum to 100 mm.
    ArrowSpinBox *Gauche;
    // "Milieu :": the margin between the two pages of an A5 sheet, 2 to 100 mm by 2; greyed
    // out for A4.
    ArrowSpinBox *Milieu;
    // "X : " and the width in pixels that fills one page place, under "Dimension conseillée
    // pour les images (pixels) :".
    QLabel *DimX;
    // "Y : " and the height in pixels that fills one page place.
    QLabel *DimY;
    // "Valider": closes the dialog.
    QPushButton *Valider;

private:
    PrintState &state_;
    const PrintTarget &printer_;
};
