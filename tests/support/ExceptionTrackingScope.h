#pragma once

#include "platform/ExceptionTracking.h"

// Exception tracking is on for the life of the object and off after it, so that a test case
// leaves no tracking to the next one in the same process.
struct ExceptionTrackingScope {
    ExceptionTrackingScope() { platform::StartExceptionTracking(); }
    ~ExceptionTrackingScope() { platform::StopExceptionTracking(); }
    ExceptionTrackingScope(const ExceptionTrackingScope &) = delete;
    ExceptionTrackingScope &operator=(const ExceptionTrackingScope &) = delete;
};
