#include "app/Forms.h"
#include "app/QtDialogs.h"
#include "app/QtLinkOpener.h"
#include "app/QtPrompter.h"
#include "app/QtUiHooks.h"
#include "app/QuirelleApplication.h"
#include "app/core/OutsidePrograms.h"
#include "platform/ExceptionTracking.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    platform::StartExceptionTracking();
    QuirelleApplication application(argc, argv);
    // Qt's own texts (file dialogs, print dialog) in French, like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QuirelleApplication::installTranslator(&qtTexts);
    QtPrompter prompter;
    QtDialogs dialogs;
    QtUiHooks ui;
    QtLinkOpener links;
    SystemPrograms programs;
    Forms forms({prompter, dialogs, ui, programs, links, QApplication::applicationFilePath(),
                 QApplication::arguments().value(1)});
    forms.Form1.showMaximized();
    const int result = QuirelleApplication::exec();
    platform::StopExceptionTracking();
    return result;
}
