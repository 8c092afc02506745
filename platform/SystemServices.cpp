#include "platform/SystemServices.h"

#include "platform/PlatformRoot.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <time.h>

namespace platform {

std::filesystem::path TempDirectory()
{
    return std::filesystem::temp_directory_path();
}

uint32_t GetTickCount()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
    return static_cast<uint32_t>(milliseconds);
}

std::optional<std::chrono::system_clock::time_point> FileAge(const std::filesystem::path &path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(status.st_mtim.tv_sec) +
            std::chrono::nanoseconds(status.st_mtim.tv_nsec)));
}

std::filesystem::path WindowsDirectory()
{
    const std::filesystem::path folder = PlatformRoot() / "windows";
    std::filesystem::create_directories(folder);
    return folder;
}

std::filesystem::path ModulePath(const void *address)
{
    Dl_info info{};
    link_map *map = nullptr;
    if (dladdr1(address, &info, reinterpret_cast<void **>(&map), RTLD_DL_LINKMAP) == 0)
        return {};
    // The main program's entry has an empty name.
    if (!map || !map->l_name || !*map->l_name) {
        std::error_code ignored;
        return std::filesystem::read_symlink("/proc/self/exe", ignored);
    }
    std::error_code ignored;
    return std::filesystem::absolute(map->l_name, ignored);
}

} // namespace platform
