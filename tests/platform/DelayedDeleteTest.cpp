#include "platform/DelayedDelete.h"
#include "platform/Registry.h"
#include "platform/RegistryStore.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

TEST(DelayedDelete, CompletesAPairCutShortBeforeAppending)
{
    sessionManager()->writeMultiStringData(platform::PendingFileRenameOperations,
                                           std::string("\\??\\/tmp/old\0", 13));
    EXPECT_TRUE(platform::ScheduleDeleteAtReboot("/a/c.so"));
    EXPECT_EQ(sessionManager()->readMultiString(platform::PendingFileRenameOperations),
              (std::vector<std::string>{"\\??\\/tmp/old", "", "\\??\\/a/c.so", ""}));
}

namespace {

// A rewrite of the registry renames a new file into place.
ino_t registryFileInode()
{
    struct stat status {};
    ::stat(platform::registryFilePath().c_str(), &status);
    return status.st_ino;
}

} // namespace

TEST(DelayedDelete, CancellingRemovesOnlyTheFilesOwnDeletionPairs)
{
    const std::string ours = "\\??\\/opt/quirelle/libVorstel.so";
    struct Case {
        const char *what;
        std::string data;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"every deletion of the file; renames, other files and other spellings stay",
         platform::JoinMultiSz({ours, "", "\\??\\/tmp/a", "!\\??\\/tmp/b", ours, "!\\??\\/tmp/c",
                                "\\??\\/tmp/\xE9t\xE9", "", ours, "",
                                "\\??\\/OPT/quirelle/libVorstel.so", ""}),
         {"\\??\\/tmp/a", "!\\??\\/tmp/b", ours, "!\\??\\/tmp/c", "\\??\\/tmp/\xE9t\xE9", "",
          "\\??\\/OPT/quirelle/libVorstel.so", ""}},
        {"data without its final zero byte keeps the last foreign string",
         platform::JoinMultiSz({ours, "", "\\??\\/tmp/a"}).substr(0, ours.size() + 2 + 10),
         {"\\??\\/tmp/a"}},
        {"our deletion cut short at the end",
         "\\??\\/tmp/a" + std::string("\0\0", 2) + ours + std::string("\0", 1),
         {"\\??\\/tmp/a", ""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        sessionManager()->writeMultiStringData(platform::PendingFileRenameOperations, c.data);
        EXPECT_TRUE(platform::CancelDeleteAtReboot("/opt/quirelle/libVorstel.so"));
        EXPECT_EQ(sessionManager()->readMultiString(platform::PendingFileRenameOperations),
                  c.expected);
    }
}

TEST(DelayedDelete, CancellingWithNothingToRemoveWritesNothing)
{
    const std::string foreign = platform::JoinMultiSz({"\\??\\/tmp/a", ""}).substr(0, 12);
    sessionManager()->writeMultiStringData(platform::PendingFileRenameOperations, foreign);
    RegistryKey::open(Hive::LocalMachine, "SOFTWARE\\Other", true)
        ->writeString(platform::PendingFileRenameOperations, "x");
    const ino_t before = registryFileInode();

    EXPECT_FALSE(platform::CancelDeleteAtReboot("/opt/quirelle/libVorstel.so"));
    EXPECT_EQ(registryFileInode(), before) << "the registry file was not rewritten";
    EXPECT_EQ(sessionManager()->readMultiStringData(platform::PendingFileRenameOperations),
              foreign);

    sessionManager()->deleteValue(platform::PendingFileRenameOperations);
    EXPECT_FALSE(platform::CancelDeleteAtReboot("/opt/quirelle/libVorstel.so"));
    EXPECT_FALSE(sessionManager()->hasValue(platform::PendingFileRenameOperations));

    sessionManager()->writeString(platform::PendingFileRenameOperations, "\\??\\/opt/x");
    EXPECT_FALSE(platform::CancelDeleteAtReboot("/opt/x"));
    EXPECT_EQ(sessionManager()->readString(platform::PendingFileRenameOperations), "\\??\\/opt/x");
}
