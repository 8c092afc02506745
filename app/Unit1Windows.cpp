// The commands that show the other windows of the program.
#include "app/Unit1.h"

#include "app/APropos.h"

void TForm1::N3Click()
{
    Propos->exec();
}
