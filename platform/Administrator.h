#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Who the process runs as, as far as the administrator test is concerned.
struct ProcessIdentity {
    uint32_t effectiveUid = 0;
    std::vector<std::string> groupNames; // effective and supplementary groups
};

// The process counts as a member of the Administrators group (S-1-5-32-544) when it runs
// with effective uid 0 or belongs to the group "sudo", "wheel" or "admin".
bool IsMemberOfAdministrators();
bool CountsAsAdministrator(const ProcessIdentity &identity);

// The identity of the running process, or the one set by OverrideProcessIdentity.
ProcessIdentity CurrentProcessIdentity();
// For tests: IsMemberOfAdministrators answers for `identity` until reset with nothing.
void OverrideProcessIdentity(std::optional<ProcessIdentity> identity);

} // namespace platform
