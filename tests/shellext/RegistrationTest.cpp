// Self-registration: the registry as it stands after registering and unregistering, for each
// platform profile, administrator or not, with the .bd extension known or not.
#include "tests/shellext/VorstelLibrary.h"

#include "platform/Administrator.h"
#include "platform/DelayedDelete.h"
#include "platform/PlatformProfile.h"
#include "platform/Registry.h"
#include "platform/RegistryStore.h"
#include "platform/SystemServices.h"
#include "shellext/ShellViewUnit.h"

#include <gtest/gtest.h>

#include <fstream>

using platform::Hive;
using platform::RegistryKey;

namespace {

// HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE in the registry file's own form, without the
// Ghostscript that the registry records on first use.
std::string dump()
{
    platform::RegistryTree tree = platform::readRegistry();
    platform::RegistryNode &machine = tree.hives.at(Hive::LocalMachine);
    if (platform::RegistryNode *software = machine.child("SOFTWARE")) {
        software->subKeys.erase("GPL Ghostscript");
        if (software->empty())
            machine.subKeys.erase("SOFTWARE");
    }
    return platform::formatRegistry(tree);
}

void startFrom(platform::PlatformProfile profile, bool administrator, bool extension)
{
    std::filesystem::remove(platform::registryFilePath());
    std::filesystem::remove(platform::WindowsDirectory() / "Wininit.ini");
    platform::SetPlatformProfile(profile);
    platform::OverrideProcessIdentity(
        platform::ProcessIdentity{1000, {{"users"}, {administrator ? "sudo" : "audio"}}});
    if (extension)
        RegistryKey::open(Hive::ClassesRoot, ".bd", true)->writeString("", "Quirelle");
}

std::string wininit()
{
    std::ifstream in(platform::WindowsDirectory() / "Wininit.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const char Header[] = "; Registre de Quirelle\n\n";
const char Extension[] = "[HKEY_CLASSES_ROOT\\.bd]\n@=\"Quirelle\"\n\n";
const char MachineKeys[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const char ClassId[] = "{9866CE29-2D30-4D9C-B876-806D79F7959F}";

// What registering writes for the module at `path`, by platform.
std::string registered(const platform::PlatformProfile &profile, const std::string &path)
{
    std::string text = Header;
    text += Extension;
    text += "[HKEY_CLASSES_ROOT\\CLSID\\" + std::string(ClassId) + "]\n@=\"Quirelle\"\n\n";
    text += "[HKEY_CLASSES_ROOT\\CLSID\\" + std::string(ClassId) + "\\InprocServer32]\n@=\"" +
            path + "\"\n\"ThreadingModel\"=\"Apartment\"\n\n";
    text += "[HKEY_CLASSES_ROOT\\Quirelle\\CLSID]\n@=\"" + std::string(ClassId) + "\"\n\n";
    text += "[HKEY_CLASSES_ROOT\\Quirelle\\shellex\\{00021500-0000-0000-C000-000000000046}]\n@=\"" +
            std::string(ClassId) + "\"\n\n";
    text += "[HKEY_CLASSES_ROOT\\Quirelle\\shellex\\{BB2E617C-0920-11d1-9A0B-00C04FC2D6C1}]\n@=\"" +
            std::string(ClassId) + "\"\n\n";
    if (profile.isNT() && profile.majorVersion >= 6)
        text += MachineKeys + std::string("PropertySystem\\PropertyHandlers\\.bd]\n@=\"") +
                ClassId + "\"\n\n";
    if (profile.isNT())
        text += MachineKeys + std::string("Shell Extensions\\Approved]\n\"") + ClassId +
                "\"=\"Quirelle\"\n\n";
    return text;
}

// What is left after unregistering: the keys that others may share, empty, and the request
// to delete the module at the next start.
std::string unregistered(const platform::PlatformProfile &profile, const std::string &path)
{
    std::string text = Header;
    text += Extension;
    text += "[HKEY_CLASSES_ROOT\\CLSID]\n\n[HKEY_CLASSES_ROOT\\Quirelle]\n\n";
    if (profile.isNT() && profile.majorVersion >= 6)
        text += MachineKeys + std::string("PropertySystem\\PropertyHandlers]\n\n");
    if (profile.isNT())
        text += MachineKeys + std::string("Shell Extensions\\Approved]\n\n") +
                "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager]\n"
                "\"PendingFileRenameOperations\"=multi:\"\\\\??\\\\" +
                path + "\",\"\"\n\n";
    return text;
}

constexpr platform::PlatformProfile Windows98{platform::WindowsFamily::Windows9x, 4, 10};
constexpr platform::PlatformProfile WindowsXP{platform::WindowsFamily::NT, 5, 1};
constexpr platform::PlatformProfile Windows7{platform::WindowsFamily::NT, 6, 1};

shellext::TShellViewFactory &factory()
{
    return shellext::TShellViewFactory::Instance();
}

} // namespace

TEST(Registration, WritesAndRemovesItsEntriesOnlyForAnAdministratorOnceTheExtensionIsKnown)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    for (const platform::PlatformProfile &profile : {Windows98, WindowsXP, Windows7})
        for (const bool administrator : {true, false})
            for (const bool extension : {true, false}) {
                SCOPED_TRACE(testing::Message()
                             << (profile.isNT() ? "NT " : "9x ") << profile.majorVersion
                             << ", administrator " << administrator << ", .bd " << extension);
                startFrom(profile, administrator, extension);
                const std::string before = dump();
                const bool written = extension && (administrator || !profile.isNT());

                factory().UpdateRegistry(true);
                EXPECT_EQ(dump(), written ? registered(profile, self) : before);
                factory().UpdateRegistry(false);
                EXPECT_EQ(dump(), written ? unregistered(profile, self) : before);
                EXPECT_EQ(wininit(),
                          written && !profile.isNT() ? "[rename]\r\nNUL=" + self + "\r\n" : "");
            }
}

TEST(Registration, AnEmptyTypeNameWritesNothing)
{
    startFrom(Windows7, true, false);
    RegistryKey::open(Hive::ClassesRoot, ".bd", true)->writeString("", "");
    const std::string before = dump();
    factory().UpdateRegistry(true);
    factory().UpdateRegistry(false);
    EXPECT_EQ(dump(), before);
}

TEST(Registration, RegisteringAgainWithdrawsThePendingDeletion)
{
    for (const platform::PlatformProfile &profile : {Windows98, WindowsXP, Windows7}) {
        SCOPED_TRACE(profile.majorVersion);
        startFrom(profile, true, true);
        factory().UpdateRegistry(true);
        factory().UpdateRegistry(false);
        factory().UpdateRegistry(true);
        EXPECT_EQ(
            dump(),
            registered(profile, std::filesystem::read_symlink("/proc/self/exe").string()) +
                (profile.isNT()
                     ? "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager]\n"
                       "\"PendingFileRenameOperations\"=multi:\n\n"
                     : ""));
        EXPECT_FALSE(std::filesystem::exists(platform::WindowsDirectory() / "Wininit.ini"));
    }
}

TEST(Registration, UnregisteringLeavesWhatNamesAnotherHandlerOrAnotherLibrary)
{
    startFrom(Windows7, true, true);
    const auto write = [](Hive hive, const std::string &path, const std::string &value) {
        RegistryKey::open(hive, path, true)->writeString("", value);
    };
    const std::string other = "{00000000-1111-2222-3333-444444444444}";
    write(Hive::ClassesRoot, "Quirelle\\shellex\\{BB2E617C-0920-11d1-9A0B-00C04FC2D6C1}", other);
    write(Hive::ClassesRoot, "Quirelle\\shellex\\{E357FCCD-A995-4576-B01F-234630154E96}", other);
    write(Hive::ClassesRoot, "Quirelle\\CLSID", other);
    write(Hive::ClassesRoot, "CLSID\\" + std::string(ClassId) + "\\InprocServer32",
          "/opt/autre/libVorstel.so");
    write(Hive::LocalMachine,
          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\PropertySystem\\PropertyHandlers\\.bd",
          other);
    const std::string before = dump();

    factory().UpdateRegistry(false);
    EXPECT_EQ(dump(),
              before +
                  "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager]\n"
                  "\"PendingFileRenameOperations\"=multi:\"\\\\??\\\\" +
                  std::filesystem::read_symlink("/proc/self/exe").string() + "\",\"\"\n\n")
        << "the Approved key is not created either";
}

// Through the exports of the real library, as a registration tool calls them.
TEST(Registration, TheExportsRegisterTheLibrarysOwnFileAndReportAFailure)
{
    platform::SetPlatformProfile(Windows98);
    RegistryKey::open(Hive::ClassesRoot, ".bd", true)->writeString("", "Quirelle");
    ASSERT_EQ(Vorstel().DllRegisterServer(), com::S_OK);
    const auto server = RegistryKey::open(
        Hive::ClassesRoot, "CLSID\\" + std::string(ClassId) + "\\InprocServer32", false);
    ASSERT_TRUE(server);
    EXPECT_EQ(server->readString(""), std::string(VORSTEL_LIBRARY));
    EXPECT_EQ(Vorstel().DllUnregisterServer(), com::S_OK);
    EXPECT_EQ(wininit(), "[rename]\r\nNUL=" + std::string(VORSTEL_LIBRARY) + "\r\n");
    EXPECT_EQ(Vorstel().DllRegisterServer(), com::S_OK);
    EXPECT_EQ(wininit(), "");

    std::ofstream(platform::registryFilePath()) << "endommagé\n";
    EXPECT_EQ(Vorstel().DllRegisterServer(), com::E_FAIL);
    EXPECT_EQ(Vorstel().DllUnregisterServer(), com::E_FAIL);
}
