#include "app/adapters/QuirelleApplication.h"

QuirelleApplication::QuirelleApplication(int &argc, char **argv) : QApplication(argc, argv) {}

void QuirelleApplication::setExceptionHandler(ExceptionHandler handler)
{
    exceptionHandler_ = std::move(handler);
}

bool QuirelleApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handleCurrentException(receiver);
        return false;
    }
}

void QuirelleApplication::handleCurrentException(const QObject *sender)
{
    if (!exceptionHandler_)
        throw;
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
