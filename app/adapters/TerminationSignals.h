#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

// While it lives, SIGTERM, SIGINT and SIGHUP end the program the way closing its main window
// does: the window's close runs (the settings are saved) and the program returns from its
// event loop, so that what it removes on ending (the rendering folder) is removed. The signal
// handler only writes to a pipe; the event loop reads it and closes the window.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(QWidget &window);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

private:
    void closeWindow();

    QWidget &window_;
    QSocketNotifier *notifier_ = nullptr;
};
