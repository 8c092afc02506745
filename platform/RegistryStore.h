#pragma once

#include "platform/RegistryTree.h"

#include <filesystem>
#include <functional>
#include <optional>

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

// Under an exclusive lock: a registry file that is damaged is renamed beside itself to
// "registry.txt.endommagé" (or "registry.txt.endommagé-2", "-3"... when that name is taken,
// never replacing a file), so that the next change starts a new registry. Gives the new path;
// nothing when the file is sound or absent. RegistryError when it cannot be renamed.
std::optional<std::filesystem::path> setAsideDamagedRegistry();

} // namespace platform
