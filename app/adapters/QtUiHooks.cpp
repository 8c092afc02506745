#include "app/adapters/QtUiHooks.h"

#include <QApplication>
#include <QCursor>

void QtUiHooks::processPendingEvents()
{
    QApplication::processEvents();
}

void QtUiHooks::waitForEvents()
{
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtUiHooks::setBusyCursor(bool busy)
{
    // The previous cursor is not restored: leaving the busy state sets the default one.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}
