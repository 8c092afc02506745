#pragma once

#include <filesystem>

// Requests to delete a file when the computer next starts, chosen by the system's major
// version: below 5 a line "NUL=<path>" in the "[rename]" section of Wininit.ini in the Windows
// directory, from 5 on a pending file operation. Nothing is reported: a missing file makes
// both calls do nothing, and a request that cannot be written leaves things as they were.
namespace shellext {

void ScheduleDeleteAtRestart(const std::filesystem::path &file);
// Withdraws every request for `file`, and only those; Wininit.ini is deleted when its
// "[rename]" line is all that is left of it.
void CancelDeleteAtRestart(const std::filesystem::path &file);

} // namespace shellext
