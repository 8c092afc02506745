#include "app/Forms.h"
#include "app/adapters/QtDialogs.h"
#include "app/adapters/QtLinkOpener.h"
#include "app/adapters/QtPrompter.h"
#include "app/adapters/QtUiHooks.h"
#include "app/adapters/QuirelleApplication.h"
#include "app/adapters/TerminationSignals.h"
#include "app/core/program/MemoryReuse.h"
#include "app/core/seams/OutsidePrograms.h"
#include "platform/ExceptionTracking.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    KeepFreedMemoryForReuse();
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
    const TerminationSignals ending(forms.Form1);
    forms.Form1.showMaximized();
    const int result = QuirelleApplication::exec();
    platform::StopExceptionTracking();
    return result;
}
