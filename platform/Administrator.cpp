#include "platform/Administrator.h"

#include <algorithm>
#include <cerrno>
#include <grp.h>
#include <unistd.h>

namespace platform {

namespace {

std::optional<ProcessIdentity> &overriddenIdentity()
{
    static std::optional<ProcessIdentity> identity;
    return identity;
}

std::optional<std::string> groupName(gid_t gid)
{
    std::vector<char> buffer(4096);
    group entry{};
    group *found = nullptr;
    while (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (!found)
        return std::nullopt;
    return std::string(found->gr_name);
}

} // namespace

bool CountsAsAdministrator(const ProcessIdentity &identity)
{
    if (identity.effectiveUid == 0)
        return true;
    return std::any_of(
        identity.groups.begin(), identity.groups.end(), [](const ProcessGroup &group) {
            return !group.denyOnly &&
                   (group.name == "sudo" || group.name == "wheel" || group.name == "admin");
        });
}

bool IsMemberOfAdministrators()
{
    return CountsAsAdministrator(CurrentProcessIdentity());
}

ProcessIdentity CurrentProcessIdentity()
{
    if (overriddenIdentity())
        return *overriddenIdentity();
    ProcessIdentity identity;
    identity.effectiveUid = geteuid();
    std::vector<gid_t> groups(static_cast<size_t>(std::max(getgroups(0, nullptr), 0)) + 1);
    const int count = getgroups(static_cast<int>(groups.size() - 1), groups.data());
    groups.resize(static_cast<size_t>(std::max(count, 0)));
    groups.push_back(getegid());
    for (const gid_t gid : groups)
        if (std::optional<std::string> name = groupName(gid))
            identity.groups.push_back({std::move(*name)});
    return identity;
}

void OverrideProcessIdentity(std::optional<ProcessIdentity> identity)
{
    overriddenIdentity() = std::move(identity);
}

} // namespace platform
