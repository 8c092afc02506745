#pragma once

#include <QFont>
#include <QSize>
#include <QString>

class QWidget;

// The 8-point sans-serif font of every window.
QFont FormFont();

// A secondary window: the caption, a title bar with the system menu and close button only,
// the form font, the given size, centred on the primary screen.
void StyleSecondaryWindow(QWidget &window, const QString &caption, QSize size);
