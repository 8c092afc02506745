#include "app/Forms.h"

Forms::Forms(const TForm1Services &services)
    : Form1(services), Propos(services.links),
      Desc(Form1.state, services.prompter, services.dialogs)
{
    Form1.marginsDialog();
    Form1.Propos = &Propos;
    Form1.CreeBD = &CreeBD;
    Form1.Desc = &Desc;
}
