#pragma once

#include <QAction>
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

    // Runs command; an exception that escapes it goes to the exception handler, as one that
    // escapes an event does.
    template <typename Command> void run(QObject *sender, Command &&command)
    {
        if (!exceptionHandler_)
            return command();
        try {
            command();
        } catch (...) {
            handleCurrentException(sender);
        }
    }

    static QuirelleApplication *instance();

private:
    void handleCurrentException(QObject *sender);

    ExceptionHandler exceptionHandler_;
};

// Runs receiver's command when action is triggered. An exception that the command lets
// escape is handled before it reaches Qt's own code in between, which is built without
// exception cleanups: unwinding through QAction::activate would leak the guard it holds.
template <typename Receiver>
void ConnectCommand(QAction *action, Receiver *receiver, void (Receiver::*command)())
{
    QObject::connect(action, &QAction::triggered, receiver, [action, receiver, command] {
        const auto call = [&] { (receiver->*command)(); };
        if (QuirelleApplication *application = QuirelleApplication::instance())
            application->run(action, call);
        else
            call();
    });
}
