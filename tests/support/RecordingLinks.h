#pragma once

#include "app/core/seams/LinkOpener.h"

#include <QStringList>

// Records every link the program asks the desktop to open.
class RecordingLinks : public LinkOpener {
public:
    void open(const QUrl &link) override { opened.append(link.toString()); }
    QStringList opened;
};
