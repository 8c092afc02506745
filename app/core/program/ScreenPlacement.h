#pragma once

#include <QList>
#include <QRect>

// Window bounds that can be seen: bounds that overlap one of the screens stay as they are;
// bounds off every screen move onto the first one, shrunk to fit it when larger.
QRect BringOntoScreens(const QRect &bounds, const QList<QRect> &screens);
