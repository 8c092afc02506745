// The commands that show the other windows of the program.
#include "app/Unit1.h"

#include "app/APropos.h"
#include "app/Creation.h"

void TForm1::CrationduneBD1Click()
{
    CreeBD->exec();
}

void TForm1::N3Click()
{
    Propos->exec();
}
