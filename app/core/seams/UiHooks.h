#pragma once

// What the logic below the windows asks of the user interface without knowing widgets:
// letting pending window messages run, and the hourglass cursor.
class UiHooks {
public:
    virtual ~UiHooks() = default;
    virtual void processPendingEvents() = 0;
    // Like processPendingEvents, but first waits until there is something to process.
    virtual void waitForEvents() { processPendingEvents(); }
    virtual void setBusyCursor(bool busy) = 0;
};

// For code that runs without a user interface (tests, tools).
class NoUiHooks : public UiHooks {
public:
    void processPendingEvents() override {}
    void setBusyCursor(bool) override {}
};
