#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

// While it lives, SIGTERM, SIGINT and SIGHUP end the program, whatever window is open: the
// modal windows close as Esc would, the main window closes as the user closes it (leaving
// full screen first; its close saves the settings), and every event loop returns, so that
// the program ends and removes what it removes on ending (the rendering folder). A window
// shown from then on returns at once, rejected, as if Esc had closed it (the success box after
// a creation). Work under way when the signal comes, such as writing a book, is done whole
// before the event loop sees the signal. The signal handler only writes to a pipe; the event
// loop reads it.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(QWidget &window);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

private:
    void end();

    QWidget &window_;
    QSocketNotifier *notifier_ = nullptr;
};
