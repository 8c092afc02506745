#pragma once

#include "app/APropos.h"
#include "app/Creation.h"
#include "app/Descript.h"
#include "app/Marges.h"
#include "app/Unit1.h"

class LinkOpener;
class PrintTarget;

// The program's five windows, created once in this order when it starts and kept for the
// whole run. The main window reaches the others through its pointers to them.
struct Forms {
    Forms(const TForm1Services &services, LinkOpener &links, PrintTarget &printer);

    TForm1 Form1;
    TPropos Propos;
    TCreeBD CreeBD;
    TDesc Desc;
    TForm2 Form2;
};
