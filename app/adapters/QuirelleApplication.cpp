#include "app/adapters/QuirelleApplication.h"

QuirelleApplication::QuirelleApplication(int &argc, char **argv) : QApplication(argc, argv) {}

void QuirelleApplication::setExceptionHandler(ExceptionHandler handler)
{
    exceptionHandler_ = std::move(handler);
}

bool QuirelleApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    run(receiver, [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void QuirelleApplication::handleCurrentException(QObject *sender)
{
    try {
        throw;
    } catch (const std::exception &error) {
        exceptionHandler_(sender, QString::fromUtf8(error.what()));
    } catch (...) {
        exceptionHandler_(sender, QStringLiteral("Une erreur inconnue s'est produite."));
    }
}

QuirelleApplication *QuirelleApplication::instance()
{
    return qobject_cast<QuirelleApplication *>(QCoreApplication::instance());
}
