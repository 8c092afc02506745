// Associating the .bd extension with the program and its shell library, and undoing it.
#include "app/Unit1.h"

#include "app/core/tools/FileAssociation.h"

void TForm1::Associerlextensionbd1Click()
{
    Associate(services.prompter, services.programPath);
}

void TForm1::Dsassocierlextensionbd1Click()
{
    Dissociate(services.prompter, services.programs);
}
