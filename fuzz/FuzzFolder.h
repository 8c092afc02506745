#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

// A folder of this fuzz process's own for the files its inputs are written to: in /dev/shm
// when it can be made there, so that writing an input costs no disk, else in the temporary
// folder. Made on first use and removed with its content when the process exits normally.
const std::filesystem::path &FuzzFolder();

// Writes bytes as the whole content of the file at path.
void WriteFuzzFile(const std::filesystem::path &path, std::span<const std::uint8_t> bytes);
