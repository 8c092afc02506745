#include "platform/GhostscriptRecord.h"

#include <ghostscript/iapi.h>

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <link.h>

namespace platform {

namespace {

// Revisions are major * 100 + minor up to 9.52, then major * 1000 + minor * 10 + patch.
std::string versionName(long revision)
{
    const long major = revision < 1000 ? revision / 100 : revision / 1000;
    const long minor = revision < 1000 ? revision % 100 : revision % 1000 / 10;
    char text[32];
    std::snprintf(text, sizeof text, "%ld.%02ld", major, minor);
    return text;
}

std::optional<GhostscriptLibrary> describe(void *handle)
{
    using RevisionFunction = int (*)(gsapi_revision_t *, int);
    const auto revision = reinterpret_cast<RevisionFunction>(dlsym(handle, "gsapi_revision"));
    link_map *map = nullptr;
    gsapi_revision_t info{};
    if (!revision || revision(&info, sizeof info) != 0 || info.revision <= 0 ||
        dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name || !*map->l_name)
        return std::nullopt;
    std::error_code ignored;
    const std::filesystem::path path = std::filesystem::absolute(map->l_name, ignored);
    return GhostscriptLibrary{versionName(info.revision), path.string()};
}

} // namespace

std::optional<GhostscriptLibrary> findGhostscriptLibrary(const char *libraryName)
{
    // Kept loaded: the program loads it again to render pages, and unloading a library with
    // thread-local storage leaves the leak checker of the sanitizer build a stale record of
    // that storage, which crashes it at exit.
    void *handle = dlopen(libraryName, RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle)
        return std::nullopt;
    std::optional<GhostscriptLibrary> library = describe(handle);
    dlclose(handle);
    return library;
}

void recordGhostscript(RegistryTree &tree, const GhostscriptLibrary &library)
{
    tree.create(Hive::LocalMachine, {"SOFTWARE", "GPL Ghostscript", library.version})
        .set("GS_DLL", library.path);
}

} // namespace platform
