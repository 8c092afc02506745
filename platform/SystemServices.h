#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform {

// The system temporary directory.
std::filesystem::path TempDirectory();

// Milliseconds since the system started (CLOCK_BOOTTIME), wrapping like a 32-bit counter.
uint32_t GetTickCount();

// The last-write time of `path`, nothing when it cannot be read (for instance a missing file).
std::optional<std::chrono::system_clock::time_point> FileAge(const std::filesystem::path &path);

// The Windows directory stand-in under PlatformRoot() (where Wininit.ini lives). Created when
// missing.
std::filesystem::path WindowsDirectory();

// The full path of the program or shared library whose code or data holds `address`; empty
// when no loaded module holds it.
std::filesystem::path ModulePath(const void *address);

} // namespace platform
