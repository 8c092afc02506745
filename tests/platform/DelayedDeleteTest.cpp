#include "platform/DelayedDelete.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

using platform::Hive;
using platform::RegistryKey;

namespace {

std::unique_ptr<RegistryKey> sessionManager()
{
    return RegistryKey::open(Hive::LocalMachine, platform::SessionManagerKey, true);
}

} // namespace

TEST(DelayedDelete, AppendsADeletionPairAfterThePendingOperations)
{
    sessionManager()->writeMultiString(platform::PendingFileRenameOperations,
                                       {"\\??\\/tmp/old", "!\\??\\/tmp/new"});
    EXPECT_TRUE(platform::ScheduleDeleteAtReboot("/opt/quirelle/libVorstel.so"));
    EXPECT_TRUE(platform::ScheduleDeleteAtReboot("/opt/quirelle/libVorstel.so"));
    EXPECT_EQ(sessionManager()->readMultiString(platform::PendingFileRenameOperations),
              (std::vector<std::string>{"\\??\\/tmp/old", "!\\??\\/tmp/new",
                                        "\\??\\/opt/quirelle/libVorstel.so", "",
                                        "\\??\\/opt/quirelle/libVorstel.so", ""}));
}

TEST(DelayedDelete, CreatesTheValueWhenMissing)
{
    EXPECT_TRUE(platform::ScheduleDeleteAtReboot("/a b/c.so"));
    EXPECT_EQ(sessionManager()->readMultiString(platform::PendingFileRenameOperations),
              (std::vector<std::string>{"\\??\\/a b/c.so", ""}));
}

TEST(DelayedDelete, LeavesAValueOfAnotherTypeAlone)
{
    sessionManager()->writeString(platform::PendingFileRenameOperations, "x");
    EXPECT_FALSE(platform::ScheduleDeleteAtReboot("/a/c.so"));
    EXPECT_EQ(sessionManager()->readString(platform::PendingFileRenameOperations), "x");
}
