#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A group the process holds. A group held for denial only takes access away and grants
// nothing; Linux holds none such, an injected identity may.
struct ProcessGroup {
    std::string name;
    bool denyOnly = false;
};

// Who the process runs as, as far as the administrator test is concerned.
struct ProcessIdentity {
    uint32_t effectiveUid = 0;
    std::vector<ProcessGroup> groups; // every effective and supplementary group
};

// The process counts as a member of the Administrators group (S-1-5-32-544) when it runs
// with effective uid 0 or holds the group "sudo", "wheel" or "admin" other than for denial
// only. Every group is looked at, however many there are.
bool IsMemberOfAdministrators();
bool CountsAsAdministrator(const ProcessIdentity &identity);

// The identity of the running process, or the one set by OverrideProcessIdentity.
ProcessIdentity CurrentProcessIdentity();
// For tests: IsMemberOfAdministrators answers for `identity` until reset with nothing.
void OverrideProcessIdentity(std::optional<ProcessIdentity> identity);

} // namespace platform
