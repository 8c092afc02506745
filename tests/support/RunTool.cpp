#include "tests/support/RunTool.h"

#include <QProcess>

#include <cstdio>

namespace {

bool Run(QProcess &process, const QString &program, const QStringList &arguments)
{
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    const bool succeeded =
        finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!succeeded)
        std::fprintf(stderr, "%s %s failed: %s\n", qPrintable(program),
                     qPrintable(arguments.join(' ')), process.readAllStandardError().constData());
    return succeeded;
}

} // namespace

bool RunTool(const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    return Run(process, program, arguments);
}

std::optional<QString> ToolOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    if (!Run(process, program, arguments))
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}
