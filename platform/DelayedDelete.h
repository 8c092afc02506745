#pragma once

#include <filesystem>

namespace platform {

// Where the system keeps the file operations it carries out at the next start: pairs of
// strings (source, target), an empty target asking for the source's deletion.
inline constexpr char SessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
inline constexpr char PendingFileRenameOperations[] = "PendingFileRenameOperations";

// Asks for `file` to be deleted at the next start, as a move with no new name delayed until
// reboot does: appends the pair ("\??\" + path, "") to the multi-string value
// HKEY_LOCAL_MACHINE\<SessionManagerKey>\PendingFileRenameOperations, in one change of the
// registry. A last pair that lacks its target (data cut short by another program) is completed
// with an empty one first. False, with nothing changed, when that value exists with another
// type.
bool ScheduleDeleteAtReboot(const std::filesystem::path &file);

// Withdraws every request to delete `file` at the next start: removes each pair whose source is
// "\??\" + path and whose target is empty (or missing at the end), in one change of the
// registry. Every other pair stays as it is and where it is; the value is written only when a
// pair was removed. Paths are compared exactly, as the file system compares them. True when a
// pair was removed.
bool CancelDeleteAtReboot(const std::filesystem::path &file);

} // namespace platform
