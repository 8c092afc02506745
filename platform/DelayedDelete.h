#pragma once

#include <filesystem>

namespace platform {

// Where the system keeps the file operations it carries out at the next start.
inline constexpr char SessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
inline constexpr char PendingFileRenameOperations[] = "PendingFileRenameOperations";

// Asks for `file` to be deleted at the next start, as a move with no new name delayed until
// reboot does: appends the pair ("\??\" + path, "") to the multi-string value
// HKEY_LOCAL_MACHINE\<SessionManagerKey>\PendingFileRenameOperations, in one change of the
// registry. False, with nothing changed, when that value exists with another type.
bool ScheduleDeleteAtReboot(const std::filesystem::path &file);

} // namespace platform
