#include "platform/Administrator.h"

#include <gtest/gtest.h>

#include <unistd.h>

using platform::ProcessIdentity;

TEST(Administrator, RootOrAnAdministrativeGroupCounts)
{
    const std::vector<std::pair<ProcessIdentity, bool>> cases = {
        {{0, {}}, true},
        {{1000, {}}, false},
        {{1000, {{"users"}, {"audio"}}}, false},
        {{1000, {{"users"}, {"sudo"}}}, true},
        {{1000, {{"wheel"}}}, true},
        {{1000, {{"admin"}}}, true},
        {{1000, {{"Sudo"}, {"admins"}, {"sudoers"}}}, false},
        {{1000, {{"users"}, {"sudo", true}}}, false},
        {{1000, {{"sudo", true}, {"wheel"}}}, true},
    };
    for (const auto &[identity, expected] : cases) {
        SCOPED_TRACE(identity.effectiveUid);
        EXPECT_EQ(platform::CountsAsAdministrator(identity), expected);
        platform::OverrideProcessIdentity(identity);
        EXPECT_EQ(platform::IsMemberOfAdministrators(), expected);
    }
}

TEST(Administrator, EveryGroupIsLookedAtHoweverManyThereAre)
{
    ProcessIdentity identity{1000, {}};
    for (int i = 0; i < 500; ++i)
        identity.groups.push_back({"projet-" + std::to_string(i)});
    EXPECT_FALSE(platform::CountsAsAdministrator(identity));
    identity.groups.push_back({"admin"});
    EXPECT_TRUE(platform::CountsAsAdministrator(identity));
}

TEST(Administrator, TheRealIdentityComesBackAfterAnOverride)
{
    platform::OverrideProcessIdentity(ProcessIdentity{4242, {{"nobody"}}});
    EXPECT_EQ(platform::CurrentProcessIdentity().effectiveUid, 4242u);
    platform::OverrideProcessIdentity(std::nullopt);
    const ProcessIdentity real = platform::CurrentProcessIdentity();
    EXPECT_EQ(real.effectiveUid, geteuid());
    EXPECT_FALSE(real.groups.empty()) << "the effective group at least";
}
