#include "tests/support/RunTool.h"

#include <QProcess>

#include <cstdio>

bool RunTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    const bool succeeded = finished && process.exitStatus() == QProcess::NormalExit &&
                           process.exitCode() == 0;
    if (!succeeded)
        std::fprintf(stderr, "%s %s failed: %s\n", qPrintable(program),
                     qPrintable(arguments.join(' ')),
                     process.readAllStandardError().constData());
    return succeeded;
}
