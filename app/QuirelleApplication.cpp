#include "app/QuirelleApplication.h"

QuirelleApplication::QuirelleApplication(int &argc, char **argv) : QApplication(argc, argv)
{
}

void QuirelleApplication::setExceptionHandler(ExceptionHandler handler)
{
    exceptionHandler_ = std::move(handler);
}

bool QuirelleApplication::notify(QObject *receiver, QEvent *event)
{
    if (!exceptionHandler_)
        return QApplication::notify(receiver, event);
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        exceptionHandler_(receiver, QString::fromUtf8(error.what()));
    } catch (...) {
        exceptionHandler_(receiver, QStringLiteral("Une erreur inconnue s'est produite."));
    }
    return false;
}

QuirelleApplication *QuirelleApplication::instance()
{
    return qobject_cast<QuirelleApplication *>(QCoreApplication::instance());
}
