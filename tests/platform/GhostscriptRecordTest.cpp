#include "platform/GhostscriptRecord.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <cstdio>

using platform::Hive;
using platform::RegistryKey;

namespace {

const char GhostscriptKey[] = "SOFTWARE\\GPL Ghostscript";

// "10.00.0" from the console program, or empty.
std::string consoleVersion()
{
    std::string version;
    if (FILE *pipe = popen("gs --version 2>/dev/null", "r")) {
        char line[64] = {};
        if (fgets(line, sizeof line, pipe))
            version = line;
        pclose(pipe);
    }
    while (!version.empty() && (version.back() == '\n' || version.back() == ' '))
        version.pop_back();
    return version;
}

} // namespace

TEST(GhostscriptRecord, FirstUseRecordsTheInstalledLibraryAsAnInstallerWould)
{
    const std::string version = consoleVersion();
    if (version.empty())
        GTEST_SKIP() << "Ghostscript is not installed";

    auto ghostscript = RegistryKey::open(Hive::LocalMachine, GhostscriptKey, false);
    ASSERT_TRUE(ghostscript);
    const std::vector<std::string> versions = ghostscript->subKeyNames();
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(version.rfind(versions[0], 0), 0u)
        << versions[0] << " is not a prefix of " << version;

    auto installed = RegistryKey::open(Hive::LocalMachine,
                                       std::string(GhostscriptKey) + "\\" + versions[0], false);
    const std::optional<std::string> library = installed->readString("GS_DLL");
    ASSERT_TRUE(library);
    const std::filesystem::path path(*library);
    EXPECT_TRUE(path.is_absolute());
    EXPECT_EQ(path.filename(), "libgs.so.10");
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(GhostscriptRecord, ARemovedRecordStaysRemoved)
{
    if (!consoleVersion().empty()) {
        EXPECT_TRUE(RegistryKey::exists(Hive::LocalMachine, GhostscriptKey));
    }
    RegistryKey::deleteTree(Hive::LocalMachine, GhostscriptKey);
    RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", true)->writeInteger("Zoom", 1);
    EXPECT_FALSE(RegistryKey::exists(Hive::LocalMachine, GhostscriptKey));
}

TEST(GhostscriptRecord, NothingIsFoundForALibraryThatIsNotThere)
{
    EXPECT_EQ(platform::findGhostscriptLibrary("libgs-absent.so.10"), std::nullopt);
}

TEST(GhostscriptRecord, RecordsUnderTheVersionKey)
{
    platform::RegistryTree tree;
    platform::recordGhostscript(tree, {"9.52", "/opt/gs/libgs.so.10"});
    const platform::RegistryNode *key =
        tree.find(Hive::LocalMachine, {"software", "gpl ghostscript", "9.52"});
    ASSERT_TRUE(key);
    ASSERT_EQ(key->values.size(), 1u);
    EXPECT_EQ(key->values[0].name, "GS_DLL");
    EXPECT_EQ(std::get<std::string>(key->values[0].data), "/opt/gs/libgs.so.10");
}
