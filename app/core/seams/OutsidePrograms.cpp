#include "app/core/seams/OutsidePrograms.h"

#include "app/core/seams/UiHooks.h"

#include <QElapsedTimer>
#include <QProcess>

namespace {

// How long the window may go without its messages running while a program runs.
constexpr int MessageInterval = 20;

} // namespace

ProgramExit SystemPrograms::run(const ProgramCall &call, UiHooks &ui,
                                const std::function<bool()> &poll)
{
    QProcess process;
    process.setProgram(call.program);
    process.setArguments(call.arguments);
    process.setWorkingDirectory(call.workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start();
    if (!process.waitForStarted(-1))
        return {ProgramExit::Outcome::NotStarted, -1};

    QElapsedTimer sincePoll;
    sincePoll.start();
    // Letting messages run may deliver the end of the process, after which waitForFinished
    // answers false at once: the state is what tells.
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(MessageInterval)) {
        ui.processPendingEvents();
        if (sincePoll.elapsed() >= PollInterval) {
            sincePoll.restart();
            if (!poll()) {
                process.kill();
                process.waitForFinished(-1);
                return {ProgramExit::Outcome::Stopped, -1};
            }
        }
    }
    if (process.exitStatus() == QProcess::CrashExit)
        return {ProgramExit::Outcome::Crashed, -1};
    return {ProgramExit::Outcome::Exited, process.exitCode()};
}

void SystemPrograms::restartComputer()
{
    QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("reboot")});
}
