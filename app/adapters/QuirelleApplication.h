#pragma once

#include <QApplication>

#include <functional>

// The application object. An exception that escapes the handling of an event ends that
// command there and goes to the exception handler; the program goes on. Without a handler
// the exception is let through. Catching it here is the last resort: by then it has unwound
// Qt's own frames, which are built without exception cleanups, so the slots and event
// handlers that can throw hand their exceptions over themselves (controls/EventGuard.h).
class QuirelleApplication : public QApplication {
    Q_OBJECT

public:
    using ExceptionHandler = std::function<void(const QObject *sender, const QString &message)>;

    QuirelleApplication(int &argc, char **argv);

    void setExceptionHandler(ExceptionHandler handler);
    bool notify(QObject *receiver, QEvent *event) override;

    // Inside a catch block: gives the exception being handled to the exception handler, or
    // throws it on when there is none.
    void handleCurrentException(const QObject *sender);

    static QuirelleApplication *instance();

private:
    ExceptionHandler exceptionHandler_;
};
