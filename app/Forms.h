#pragma once

#include "app/APropos.h"
#include "app/Creation.h"
#include "app/Descript.h"
#include "app/Unit1.h"

// The program's windows, created once when it starts, in this order, and kept for the whole
// run: the main window, the about box, the book-creation window, the description editor and
// last the margins dialog, which the main window owns. The main window reaches the others
// through its pointers to them.
struct Forms {
    explicit Forms(const TForm1Services &services);

    TForm1 Form1;
    TPropos Propos;
    TCreeBD CreeBD;
    TDesc Desc;
};
