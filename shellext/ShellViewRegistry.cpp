// The factory's self-registration: the class and the shell-extension entries that make the
// shell use it for book files, written under the type name that HKEY_CLASSES_ROOT\.bd names.
#include "shellext/ShellViewUnit.h"

#include "platform/Administrator.h"
#include "platform/PlatformProfile.h"
#include "platform/Registry.h"
#include "platform/RegistryTree.h"
#include "platform/SystemServices.h"
#include "shellext/EffacerDemarrage.h"

#include <filesystem>
#include <optional>
#include <string>

namespace shellext {

namespace {

using platform::Hive;
using platform::RegistryKey;

constexpr char ThumbnailHandler[] = "{BB2E617C-0920-11d1-9A0B-00C04FC2D6C1}";
constexpr char InfoTipHandler[] = "{00021500-0000-0000-C000-000000000046}";
constexpr char ApprovedKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr char PropertyHandlersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\PropertySystem\\PropertyHandlers";

bool IsWinNT()
{
    return platform::CurrentPlatformProfile().isNT();
}

bool IsAdministrator()
{
    return !IsWinNT() || platform::IsMemberOfAdministrators();
}

// The library's own file (the program's, when the routines are linked into one).
std::filesystem::path GetModulePath()
{
    static const char anchor = 0;
    return platform::ModulePath(&anchor);
}

std::optional<std::string> defaultValue(Hive hive, const std::string &path)
{
    const auto key = RegistryKey::open(hive, path, false);
    if (!key || key->valueType("") != platform::ValueType::String)
        return std::nullopt;
    return key->readString("");
}

void writeDefault(Hive hive, const std::string &path, const std::string &value)
{
    RegistryKey::open(hive, path, true)->writeString("", value);
}

// Deletes the key with all it holds when its default value is the class identifier.
void deleteIfNamingOurClass(Hive hive, const std::string &path, const std::string &classId)
{
    const std::optional<std::string> value = defaultValue(hive, path);
    if (value && platform::equalsIgnoringCase(*value, classId))
        RegistryKey::deleteTree(hive, path);
}

// Deletes the server key when it names this library's file.
void deleteIfNamingThisLibrary(const std::string &path)
{
    const std::optional<std::string> value = defaultValue(Hive::ClassesRoot, path);
    if (!value)
        return;
    const std::filesystem::path library = GetModulePath();
    std::error_code ignored;
    if (*value == library.string() || std::filesystem::equivalent(*value, library, ignored))
        RegistryKey::deleteTree(Hive::ClassesRoot, path);
}

} // namespace

void TShellViewFactory::UpdateRegistry(bool Register)
{
    if (!IsAdministrator())
        return;
    const auto extension = RegistryKey::open(Hive::ClassesRoot, ".bd", false);
    if (!extension)
        return;
    const std::optional<std::string> typeName = extension->readString("");
    if (!typeName || typeName->empty())
        return;

    const std::string classId = com::GuidToString(CLSID_ShellView);
    const std::string classKey = "CLSID\\" + classId;
    const std::string serverKey = classKey + "\\InprocServer32";
    const std::string shellex = *typeName + "\\shellex";
    const bool nt = IsWinNT();
    const bool version6 = nt && platform::CurrentPlatformProfile().majorVersion >= 6;

    if (Register) {
        // A short path is the path itself here, so the server key is written once, with the
        // library's full path.
        writeDefault(Hive::ClassesRoot, classKey, Description);
        writeDefault(Hive::ClassesRoot, serverKey, GetModulePath().string());
        RegistryKey::open(Hive::ClassesRoot, serverKey, true)
            ->writeString("ThreadingModel", ThreadingModel);
        writeDefault(Hive::ClassesRoot, shellex + "\\" + ThumbnailHandler, classId);
        writeDefault(Hive::ClassesRoot, shellex + "\\" + InfoTipHandler, classId);
        writeDefault(Hive::ClassesRoot, *typeName + "\\CLSID", classId);
        if (nt) {
            RegistryKey::open(Hive::LocalMachine, ApprovedKey, true)
                ->writeString(classId, Description);
        }
        if (version6)
            writeDefault(Hive::LocalMachine, std::string(PropertyHandlersKey) + "\\.bd", classId);
        CancelDeleteAtRestart(GetModulePath());
        return;
    }

    // Only what names this class or this library goes; other handlers stay.
    deleteIfNamingThisLibrary(serverKey);
    deleteIfNamingOurClass(Hive::ClassesRoot, shellex + "\\" + ThumbnailHandler, classId);
    deleteIfNamingOurClass(Hive::ClassesRoot, shellex + "\\" + InfoTipHandler, classId);
    const auto handlers = RegistryKey::open(Hive::ClassesRoot, shellex, false);
    if (handlers && handlers->subKeyNames().empty() && handlers->valueNames().empty())
        RegistryKey::deleteTree(Hive::ClassesRoot, shellex);
    deleteIfNamingOurClass(Hive::ClassesRoot, *typeName + "\\CLSID", classId);
    const auto approved = nt ? RegistryKey::open(Hive::LocalMachine, ApprovedKey, false) : nullptr;
    if (approved)
        approved->deleteValue(classId);
    if (version6)
        deleteIfNamingOurClass(Hive::LocalMachine, std::string(PropertyHandlersKey) + "\\.bd",
                               classId);
    RegistryKey::deleteKey(Hive::ClassesRoot, classKey);
    ScheduleDeleteAtRestart(GetModulePath());
}

} // namespace shellext
