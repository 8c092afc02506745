#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// Replaces `file` with `bytes` through a temporary file beside it, fsync and rename, so the
// file is either left as it was or replaced whole. False when that failed.
bool WriteFileAtomically(const std::filesystem::path &file, std::string_view bytes);

} // namespace platform
