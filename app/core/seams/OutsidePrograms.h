#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class UiHooks;

// One run of an outside program: its argument vector is handed over as it is, never
// through a shell.
struct ProgramCall {
    QString program;
    QStringList arguments;
    QString workingDirectory = {}; // empty: the program's own
};

struct ProgramExit {
    enum class Outcome { Exited, NotStarted, Crashed, Stopped };
    Outcome outcome = Outcome::Exited;
    int exitCode = 0;

    bool succeeded() const { return outcome == Outcome::Exited && exitCode == 0; }
};

// The programs the commands start (Ghostscript, LibreOffice) and the restart of the computer:
// the real ones run them, the tests record and script them.
class OutsidePrograms {
public:
    virtual ~OutsidePrograms() = default;

    // Runs the program and returns once our own child process has ended. Meanwhile pending
    // window messages run through ui, and every PollInterval milliseconds poll is called;
    // when it answers false the program is killed and the outcome is Stopped.
    virtual ProgramExit run(const ProgramCall &call, UiHooks &ui,
                            const std::function<bool()> &poll) = 0;

    // Asks the system to restart the computer; the outcome is not checked.
    virtual void restartComputer() = 0;

    static constexpr int PollInterval = 200;
};

// Runs the programs for real (QProcess, their output dropped) and restarts the computer with
// `systemctl reboot`.
class SystemPrograms : public OutsidePrograms {
public:
    ProgramExit run(const ProgramCall &call, UiHooks &ui,
                    const std::function<bool()> &poll) override;
    void restartComputer() override;
};
