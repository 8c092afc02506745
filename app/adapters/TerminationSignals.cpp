#include "app/adapters/TerminationSignals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> EndingSignals = {SIGTERM, SIGINT, SIGHUP};

// The pipe from the signal handler to the event loop: read end, write end.
int signalPipe[2] = {-1, -1};

// Async-signal-safe: one write, errno kept.
void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    if (::write(signalPipe[1], &byte, 1) < 0) {
        // A full pipe already holds a request to close.
    }
    errno = saved;
}

void handleEndingSignals(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : EndingSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QWidget &window) : window_(window)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their default action: they end the program at once
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::end);
    handleEndingSignals(onSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_)
        return;
    handleEndingSignals(SIG_DFL);
    delete notifier_;
    for (int &fd : signalPipe) {
        ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::end()
{
    std::array<char, 64> pending{};
    while (::read(signalPipe[0], pending.data(), pending.size()) > 0) {
    }
    // The innermost modal window first: each one's own cancelling runs before the code that
    // showed it goes on. A window that cannot be closed is left to the end of its event loop.
    for (QWidget *closed = nullptr; QWidget *modal = QApplication::activeModalWidget();) {
        if (modal == closed || !modal->close())
            break;
        closed = modal;
    }
    // The main window refuses its first close in full screen, leaving full screen instead.
    if (!window_.close())
        window_.close();
    QCoreApplication::exit(0);
}
