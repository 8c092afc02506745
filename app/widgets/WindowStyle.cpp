#include "app/widgets/WindowStyle.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QFont FormFont()
{
    // Narrow sans-serif faces first, so that captions fit buttons sized for them.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Arial"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

void StyleSecondaryWindow(QWidget &window, const QString &caption, QSize size)
{
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window.setWindowTitle(caption);
    window.setFont(FormFont());
    window.resize(size);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect bounds(QPoint(0, 0), size);
        bounds.moveCenter(screen->availableGeometry().center());
        window.move(bounds.topLeft());
    }
}
