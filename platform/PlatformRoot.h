#pragma once

#include <filesystem>

namespace platform {

// The folder that holds the registry file, the Windows directory stand-in and the
// platform profile: $QUIRELLE_ROOT when set, else $XDG_DATA_HOME/quirelle
// (~/.local/share/quirelle). Created when missing and possible; a root that cannot be made is
// still given, for its uses to fail on.
std::filesystem::path PlatformRoot();

} // namespace platform
