#pragma once

#include <QUrl>

// Asks the desktop to open a web or mail link; the result is not checked.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    virtual void open(const QUrl &link) = 0;
};
