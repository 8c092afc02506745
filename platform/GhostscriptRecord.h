#pragma once

#include "platform/RegistryTree.h"

#include <optional>
#include <string>

namespace platform {

struct GhostscriptLibrary {
    std::string version; // as the installer names its key: "10.00", "9.52"
    std::string path;    // full path of the loaded library file
};

// The interpreter library `libraryName` as the dynamic loader finds it, with the version it
// reports; nothing when it cannot be loaded or reports no version.
std::optional<GhostscriptLibrary> findGhostscriptLibrary(const char *libraryName = "libgs.so.10");

// Writes HKEY_LOCAL_MACHINE\SOFTWARE\GPL Ghostscript\<version> with GS_DLL = path.
void recordGhostscript(RegistryTree &tree, const GhostscriptLibrary &library);

} // namespace platform
