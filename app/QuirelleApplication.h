#pragma once

#include <QApplication>

#include <functional>

// The application object. An exception that escapes the handling of an event ends that
// command there and goes to the exception handler; the program goes on. Without a handler
// the exception is let through.
class QuirelleApplication : public QApplication {
    Q_OBJECT

public:
    using ExceptionHandler = std::function<void(QObject *sender, const QString &message)>;

    QuirelleApplication(int &argc, char **argv);

    void setExceptionHandler(ExceptionHandler handler);
    bool notify(QObject *receiver, QEvent *event) override;

    static QuirelleApplication *instance();

private:
    ExceptionHandler exceptionHandler_;
};
