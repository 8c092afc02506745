#pragma once

#include "platform/RegistryTree.h"

#include <filesystem>
#include <functional>

namespace platform {

// The registry file under PlatformRoot() and its lock file beside it.
std::filesystem::path registryFilePath();

// The registry as it stands, read under a shared lock. When the file does not exist yet it
// is created first (see changeRegistry).
RegistryTree readRegistry();

// Under an exclusive lock: reads the file, lets `apply` change the tree and, when `apply`
// returns true, saves it through AtomicFileWriter (AtomicWrite.h). A registry file that
// does not exist yet starts as an empty registry with the installed Ghostscript recorded,
// and is saved whatever `apply` returns.
void changeRegistry(const std::function<bool(RegistryTree &)> &apply);

} // namespace platform
