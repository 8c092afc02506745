#include "app/core/render/Ghostscript.h"
#include "platform/GhostscriptRecord.h"
#include "platform/Registry.h"
#include "tests/support/BookFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::Hive;
using platform::RegistryKey;

const char *const GhostscriptKey = "SOFTWARE\\GPL Ghostscript";

// The library the registry records on first use is the one found on this machine.
TEST(FindGhostscriptDir, IsTheDirectoryOfTheInstalledLibraryByDefault)
{
    const std::optional<platform::GhostscriptLibrary> library =
        platform::findGhostscriptLibrary(GhostscriptLibraryName);
    ASSERT_TRUE(library.has_value());
    EXPECT_EQ(FindGhostscriptDir(), QtPath(fs::path(library->path).parent_path()) + '/');
}

TEST(FindGhostscriptDir, TakesGsDllOfTheVersionThatSortsLast)
{
    struct Version {
        std::string name;
        std::optional<std::string> gsDll;
    };
    const struct {
        const char *name;
        bool makeRoot;
        std::vector<Version> versions;
        QString expected;
    } cases[] = {
        {"no Ghostscript key", false, {}, ""},
        {"no version", true, {}, ""},
        {"text order, not numeric",
         true,
         {{"10.0", "/opt/gs10/lib/libgs.so.10"}, {"9.05", "/opt/gs905/lib/libgs.so.10"}},
         "/opt/gs905/lib/"},
        {"case ignored", true, {{"b", "/b/libgs.so.10"}, {"A", "/a/libgs.so.10"}}, "/b/"},
        {"last version without GS_DLL",
         true,
         {{"9.05", std::nullopt}, {"8.70", "/opt/gs870/libgs.so.10"}},
         ""},
        {"library in the root", true, {{"10.0", "/libgs.so.10"}}, "/"},
        {"bare library name", true, {{"10.0", "libgs.so.10"}}, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RegistryKey::deleteTree(Hive::LocalMachine, GhostscriptKey);
        if (c.makeRoot)
            RegistryKey::open(Hive::LocalMachine, GhostscriptKey, true);
        for (const Version &version : c.versions) {
            auto key = RegistryKey::open(Hive::LocalMachine,
                                         std::string(GhostscriptKey) + "\\" + version.name, true);
            if (version.gsDll)
                key->writeString("GS_DLL", *version.gsDll);
        }
        EXPECT_EQ(FindGhostscriptDir(), c.expected);
    }
}

TEST(FindGhostscriptDir, ValueOfAnotherTypeGivesNoDirectory)
{
    RegistryKey::deleteTree(Hive::LocalMachine, GhostscriptKey);
    RegistryKey::open(Hive::LocalMachine, std::string(GhostscriptKey) + "\\10.0", true)
        ->writeInteger("GS_DLL", 10);
    EXPECT_EQ(FindGhostscriptDir(), QString());
}

TEST(GhostscriptConsole, IsLookedForBesideTheLibraryThenOnPath)
{
    TempDir dir;
    fs::create_directories(dir / "lib");
    fs::create_directories(dir / "bin");
    for (const fs::path &program : {dir / "lib" / "gs", dir / "bin" / "gs"}) {
        WriteFileBytes(program, ToBytes("#!/bin/sh\n"));
        fs::permissions(program, fs::perms::owner_all);
    }
    WriteFileBytes(dir / "gs", ToBytes("not executable"));
    setenv("PATH", (dir / "bin").c_str(), 1);

    EXPECT_EQ(GhostscriptConsolePath(QtPath(dir / "lib") + '/'), QtPath(dir / "lib" / "gs"));
    EXPECT_EQ(GhostscriptConsolePath(QtPath(dir.path()) + '/'), QtPath(dir / "bin" / "gs"));
    EXPECT_EQ(GhostscriptConsolePath(""), QtPath(dir / "bin" / "gs"));
    EXPECT_TRUE(GhostscriptConsoleExists(""));

    setenv("PATH", (dir / "lib" / "nothing").c_str(), 1);
    EXPECT_EQ(GhostscriptConsolePath(QtPath(dir.path()) + '/'), QString());
    EXPECT_FALSE(GhostscriptConsoleExists(""));
}

} // namespace
