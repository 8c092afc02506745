#include "app/Forms.h"

Forms::Forms(const TForm1Services &services)
    : Form1(services), Propos(services.links),
      CreeBD({services.prompter, services.dialogs, [this] { return Form1.state.CurrentFile; }}),
      Desc(Form1.state, services.prompter, services.dialogs)
{
    Form1.marginsDialog();
    Form1.Propos = &Propos;
    Form1.CreeBD = &CreeBD;
    Form1.Desc = &Desc;
}
