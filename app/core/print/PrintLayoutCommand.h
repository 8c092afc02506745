#pragma once

#include "app/core/print/PrintGeometry.h"
#include "app/core/print/PrintJob.h"
#include "app/core/print/PrintState.h"

#include <QString>

#include <functional>

// The margins dialog as the layout commands drive it.
class MarginsDialog {
public:
    virtual ~MarginsDialog() = default;
    virtual void setMiddleEnabled(bool enabled) = 0;
    // The printer's smallest top and left margins (Haut and Gauche of minima).
    virtual void setMinima(const MarginsMm &minima) = 0;
    // Fills the recommended image size from the current values.
    virtual void refresh() = 0;
    virtual void showModal() = 0;
    virtual MarginsMm values() const = 0;
};

struct LayoutCommandEnv {
    PrintJobEnv job;
    MarginsDialog &margins;
    std::function<bool()> choosePrinter; // the print dialog; false when cancelled
};

// What the margins dialog shows for the current values: stores the printer's dots per
// millimetre in state and returns the recommended image size.
QSize UpdateMarginsPreview(PrintState &state, const PrinterGeometry &printer,
                           const MarginsMm &margins);

// Reads the printer, sets the margin minima, runs the margins dialog and stores the margins
// in dots.
void DefinitMinMax(PrintState &state, LayoutCommandEnv &env);

// What the two print commands do before the print job: layout "A4" (one page per portrait
// side) or "A5" (two pages per landscape side). Sets up the printer, the margins, the print
// rectangles and the blank pages; false when the user cancelled or nothing can be printed
// (with a message saying why).
bool PrepareLayout(PrintState &state, const QString &layout, LayoutCommandEnv &env);
