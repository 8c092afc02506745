#pragma once

#include "app/core/seams/LinkOpener.h"

// Opens links with the desktop's handler for their scheme.
class QtLinkOpener : public LinkOpener {
public:
    void open(const QUrl &link) override;
};
