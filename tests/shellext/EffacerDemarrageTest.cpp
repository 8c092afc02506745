// Requests to delete a file at the next start: Wininit.ini below version 5, the pending file
// operations from version 5 on.
#include "shellext/EffacerDemarrage.h"

#include "platform/DelayedDelete.h"
#include "platform/PlatformProfile.h"
#include "platform/Registry.h"
#include "platform/SystemServices.h"
#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

namespace {

std::filesystem::path wininitPath()
{
    return platform::WindowsDirectory() / "Wininit.ini";
}

std::optional<std::string> wininit()
{
    if (!std::filesystem::exists(wininitPath()))
        return std::nullopt;
    std::ifstream in(wininitPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<std::vector<std::string>> pendingOperations()
{
    const auto key = platform::RegistryKey::open(platform::Hive::LocalMachine,
                                                 platform::SessionManagerKey, false);
    return key ? key->readMultiString(platform::PendingFileRenameOperations) : std::nullopt;
}

} // namespace

TEST(DeleteAtRestart, BelowVersion5TheRequestIsALineOfTheRenameSectionOfWininit)
{
    platform::SetPlatformProfile({platform::WindowsFamily::Windows9x, 4, 10});
    TempDir dir;
    const std::filesystem::path file = dir / "libVorstel.so";
    WriteFileBytes(file, {1});
    const std::string request = "NUL=" + file.string();
    enum Operation { Schedule, Cancel };
    struct Case {
        const char *what;
        std::optional<std::string> before;
        Operation operation;
        std::optional<std::string> after;
    };
    const Case cases[] = {
        {"a first request makes the file", std::nullopt, Schedule,
         "[rename]\r\n" + request + "\r\n"},
        {"a new request comes first in the section, whatever its case",
         "[boot]\nshell=x\n[Rename]\nNUL=/autre\n", Schedule,
         "[boot]\r\nshell=x\r\n[Rename]\r\n" + request + "\r\nNUL=/autre\r\n"},
        {"a section added at the end", "[boot]\r\nshell=x", Schedule,
         "[boot]\r\nshell=x\r\n[rename]\r\n" + request + "\r\n"},
        {"requests repeat", "[rename]\r\n" + request + "\r\n", Schedule,
         "[rename]\r\n" + request + "\r\n" + request + "\r\n"},
        {"cancelling the only request deletes the file", "[rename]\r\n" + request + "\r\n", Cancel,
         std::nullopt},
        {"cancelling keeps other requests and the following sections",
         "[boot]\r\n" + request + "\r\n[rename]\r\n" + request +
             "\r\nNUL=/autre\r\nnul=" + file.string() + "\r\n" + "NUL=" + dir.path().string() +
             "/LIBVORSTEL.SO\r\n[suite]\r\n" + request + "\r\n",
         Cancel,
         "[boot]\r\n" + request + "\r\n[rename]\r\nNUL=/autre\r\nNUL=" + dir.path().string() +
             "/LIBVORSTEL.SO\r\n[suite]\r\n" + request + "\r\n"},
        {"no rename section: nothing written", "[boot]\n" + request + "\n", Cancel,
         "[boot]\n" + request + "\n"},
        {"no file: none made", std::nullopt, Cancel, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(wininitPath());
        if (c.before)
            std::ofstream(wininitPath(), std::ios::binary) << *c.before;
        if (c.operation == Schedule)
            shellext::ScheduleDeleteAtRestart(file);
        else
            shellext::CancelDeleteAtRestart(file);
        EXPECT_EQ(wininit(), c.after);
        EXPECT_EQ(
            std::distance(std::filesystem::directory_iterator(platform::WindowsDirectory()), {}),
            c.after ? 1 : 0)
            << "no temporary file left";
    }
}

TEST(DeleteAtRestart, FromVersion5TheRequestIsAPendingFileOperation)
{
    platform::SetPlatformProfile({platform::WindowsFamily::NT, 5, 0});
    TempDir dir;
    const std::filesystem::path file = dir / "libVorstel.so";
    WriteFileBytes(file, {1});
    shellext::ScheduleDeleteAtRestart(file);
    EXPECT_EQ(pendingOperations(), (std::vector<std::string>{"\\??\\" + file.string(), ""}));
    shellext::CancelDeleteAtRestart(file);
    EXPECT_EQ(pendingOperations(), std::vector<std::string>{});
    EXPECT_EQ(wininit(), std::nullopt);
}

TEST(DeleteAtRestart, AFileThatIsGoneNeedsNoRequest)
{
    TempDir dir;
    for (const platform::PlatformProfile profile :
         {platform::PlatformProfile{platform::WindowsFamily::Windows9x, 4, 0},
          platform::PlatformProfile{platform::WindowsFamily::NT, 6, 1}}) {
        platform::SetPlatformProfile(profile);
        shellext::ScheduleDeleteAtRestart(dir / "absent.so");
        shellext::CancelDeleteAtRestart(dir / "absent.so");
        EXPECT_EQ(wininit(), std::nullopt);
        EXPECT_EQ(pendingOperations(), std::nullopt);
    }
}
