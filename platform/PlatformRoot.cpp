#include "platform/PlatformRoot.h"

#include <cstdlib>

namespace platform {

std::filesystem::path PlatformRoot()
{
    std::filesystem::path root;
    if (const char *explicitRoot = std::getenv("QUIRELLE_ROOT"); explicitRoot && *explicitRoot)
        root = explicitRoot;
    else if (const char *data = std::getenv("XDG_DATA_HOME"); data && *data)
        root = std::filesystem::path(data) / "quirelle";
    else if (const char *home = std::getenv("HOME"); home && *home)
        root = std::filesystem::path(home) / ".local/share/quirelle";
    else
        root = std::filesystem::temp_directory_path() / "quirelle";
    // A root that cannot be made fails where it is used, with the message of that use.
    std::error_code ignored;
    std::filesystem::create_directories(root, ignored);
    return root;
}

} // namespace platform
