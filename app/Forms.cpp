#include "app/Forms.h"

Forms::Forms(const TForm1Services &services, LinkOpener &links, PrintTarget &printer)
    : Form1(services), Propos(links), Form2(Form1.state, printer)
{
    Form1.Propos = &Propos;
    Form1.CreeBD = &CreeBD;
    Form1.Desc = &Desc;
    Form1.Form2 = &Form2;
}
