#pragma once

#include "app/core/seams/UiHooks.h"

class QtUiHooks : public UiHooks {
public:
    void processPendingEvents() override;
    void waitForEvents() override;
    void setBusyCursor(bool busy) override;
};
