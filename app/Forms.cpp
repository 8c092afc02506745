#include "app/Forms.h"

Forms::Forms(const TForm1Services &services, LinkOpener &links)
    : Form1(services), Propos(links),
      CreeBD({services.prompter, services.dialogs, [this] { return Form1.state.CurrentFile; }})
{
    Form1.marginsDialog();
    Form1.Propos = &Propos;
    Form1.CreeBD = &CreeBD;
    Form1.Desc = &Desc;
}
