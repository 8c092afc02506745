#pragma once

#include "app/text/UserError.h"

namespace platform {

// The Windows family and version that the program reports and acts on, kept in the file
// "profile.txt" under PlatformRoot() as one line such as "NT 6.1" or "9x 4.10". Without the
// file the profile is NT 6.1.
enum class WindowsFamily { Windows9x, NT };

struct PlatformProfile {
    WindowsFamily family = WindowsFamily::NT;
    int majorVersion = 6;
    int minorVersion = 1;

    bool isNT() const { return family == WindowsFamily::NT; }
    bool operator==(const PlatformProfile &) const = default;
};

class PlatformProfileError : public UserError {
public:
    using UserError::UserError;
};

// Raises PlatformProfileError when the file cannot be read as a profile.
PlatformProfile CurrentPlatformProfile();
// Saves `profile` for this root (tests choose the platform they run on this way).
void SetPlatformProfile(const PlatformProfile &profile);

} // namespace platform
