#include "app/adapters/QtLinkOpener.h"

#include <QDesktopServices>

void QtLinkOpener::open(const QUrl &link)
{
    QDesktopServices::openUrl(link);
}
