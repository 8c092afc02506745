#include "app/QtDialogs.h"
#include "app/QtPrompter.h"
#include "app/QtUiHooks.h"
#include "app/QuirelleApplication.h"
#include "app/Unit1.h"

int main(int argc, char *argv[])
{
    QuirelleApplication application(argc, argv);
    QtPrompter prompter;
    QtDialogs dialogs;
    QtUiHooks ui;
    TForm1 Form1({prompter, dialogs, ui, QApplication::applicationFilePath()});
    Form1.showMaximized();
    return QuirelleApplication::exec();
}
