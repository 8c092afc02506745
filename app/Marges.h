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
class TForm2 : public QDialog, public MarginsDialog {
public:
    TForm2(PrintState &state, const PrintTarget &printer, QWidget *parent = nullptr);

    void setMiddleEnabled(bool enabled) override;
    void setMinima(const MarginsMm &minima) override;
    void refresh() override { HautChange(); }
    void showModal() override;
    MarginsMm values() const override;

    void HautChange();
    void ValiderClick();

    ArrowSpinBox *Haut;
    ArrowSpinBox *Gauche;
    ArrowSpinBox *Milieu;
    QLabel *DimX;
    QLabel *DimY;
    QPushButton *Valider;

private:
    PrintState &state_;
    const PrintTarget &printer_;
};
