#include "app/Unit1.h"

#include "app/core/program/CrashReport.h"
#include "platform/SystemServices.h"

#include <QFileInfo>

void TForm1::ApplicationEvents1Exception(const QObject *, const QString &message)
{
    const QString programDir = QFileInfo(services.programPath).absolutePath();
    ReportException(message,
                    {services.prompter, programDir.toStdString(), platform::GetTickCount()});
}
