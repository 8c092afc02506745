#include "platform/Administrator.h"

#include <gtest/gtest.h>

#include <unistd.h>

using platform::ProcessIdentity;

TEST(Administrator, RootOrAnAdministrativeGroupCounts)
{
    const std::vector<std::pair<ProcessIdentity, bool>> cases = {
        {{0, {}}, true},
        {{1000, {}}, false},
        {{1000, {"users", "audio"}}, false},
        {{1000, {"users", "sudo"}}, true},
        {{1000, {"wheel"}}, true},
        {{1000, {"admin"}}, true},
        {{1000, {"Sudo", "admins", "sudoers"}}, false},
    };
    for (const auto &[identity, expected] : cases) {
        SCOPED_TRACE(identity.effectiveUid);
        EXPECT_EQ(platform::CountsAsAdministrator(identity), expected);
        platform::OverrideProcessIdentity(identity);
        EXPECT_EQ(platform::IsMemberOfAdministrators(), expected);
    }
}

TEST(Administrator, TheRealIdentityComesBackAfterAnOverride)
{
    platform::OverrideProcessIdentity(ProcessIdentity{4242, {"nobody"}});
    EXPECT_EQ(platform::CurrentProcessIdentity().effectiveUid, 4242u);
    platform::OverrideProcessIdentity(std::nullopt);
    const ProcessIdentity real = platform::CurrentProcessIdentity();
    EXPECT_EQ(real.effectiveUid, geteuid());
    EXPECT_FALSE(real.groupNames.empty()) << "the effective group at least";
}
