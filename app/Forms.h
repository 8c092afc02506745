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

    // The main window "Quirelle": Unit1.h, Unit1*.cpp.
    TForm1 Form1;
    // The about box "A propos": APropos.h, APropos.cpp.
    TPropos Propos;
    // The book-creation window "Création": Creation.h, Creation.cpp, CreationMenu.cpp.
    TCreeBD CreeBD;
    // The description editor "Description": Descript.h, Descript.cpp.
    TDesc Desc;
};
