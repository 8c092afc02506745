#include "app/core/tools/FileAssociation.h"

#include "app/core/seams/OutsidePrograms.h"
#include "app/core/seams/Prompter.h"
#include "platform/RegistryStore.h"

#include <QDir>
#include <QFileInfo>

#include <string>
#include <vector>

namespace {

using platform::Hive;
using platform::RegistryTree;

const std::string ClassId = ShellLibraryClassId;
const std::string ClassKey = "CLSID\\" + ClassId;
const std::string TypeName = "Quirelle";
const char *const ThumbnailHandler = "{BB2E617C-0920-11d1-9A0B-00C04FC2D6C1}";
const char *const InfoTipHandler = "{00021500-0000-0000-C000-000000000046}";
const char *const UserChoices =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.bd";
const char *const Approved =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const char *const PropertyHandler =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\PropertySystem\\PropertyHandlers\\.bd";

const QString CrLf = QStringLiteral("\r\n");

void setString(RegistryTree &tree, Hive hive, const std::string &path, const std::string &name,
               const std::string &value)
{
    tree.create(hive, platform::splitKeyPath(path)).set(name, value);
}

// Deletes the key with its subkeys and values; a missing key is no failure.
void deleteTree(RegistryTree &tree, Hive hive, const std::string &path)
{
    const std::vector<std::string> names = platform::splitKeyPath(path);
    if (platform::RegistryNode *parent = tree.find(hive, {names.begin(), names.end() - 1}))
        parent->subKeys.erase(names.back());
}

bool atLeastVersion6(const platform::PlatformProfile &profile)
{
    return profile.isNT() && profile.majorVersion >= 6;
}

} // namespace

void WriteAssociation(RegistryTree &tree, const platform::PlatformProfile &profile,
                      const QString &programPath)
{
    const std::string program = programPath.toStdString();
    const std::string library =
        QFileInfo(programPath).absoluteDir().filePath(ShellLibraryFileName).toStdString();

    deleteTree(tree, Hive::ClassesRoot, ".bd");
    // Quoted, so that a path with blanks stays one argument.
    setString(tree, Hive::ClassesRoot, ".bd\\shell\\" + TypeName + "\\command", "",
              '"' + program + "\" \"%1\"");
    setString(tree, Hive::ClassesRoot, std::string(".bd\\shellex\\") + ThumbnailHandler, "",
              ClassId);
    setString(tree, Hive::ClassesRoot, std::string(".bd\\shellex\\") + InfoTipHandler, "", ClassId);
    setString(tree, Hive::ClassesRoot, ".bd\\CLSID", "", ClassId);
    setString(tree, Hive::ClassesRoot, ".bd", "", TypeName);
    setString(tree, Hive::ClassesRoot, ".bd\\DefaultIcon", "", program + ",0");
    setString(tree, Hive::ClassesRoot, ClassKey + "\\InprocServer32", "", library);
    setString(tree, Hive::ClassesRoot, ClassKey + "\\InprocServer32", "ThreadingModel",
              "Apartment");

    deleteTree(tree, Hive::CurrentUser, UserChoices);

    if (profile.isNT())
        setString(tree, Hive::LocalMachine, Approved, ClassId, TypeName);
    if (atLeastVersion6(profile))
        setString(tree, Hive::LocalMachine, PropertyHandler, "", ClassId);
}

void RemoveAssociation(RegistryTree &tree, const platform::PlatformProfile &profile)
{
    deleteTree(tree, Hive::ClassesRoot, ".bd");
    deleteTree(tree, Hive::ClassesRoot, ClassKey);
    if (profile.isNT()) {
        // The list of approved extensions stays, without the library.
        auto &values = tree.create(Hive::LocalMachine, platform::splitKeyPath(Approved)).values;
        std::erase_if(values, [](const platform::RegistryValue &value) {
            return platform::equalsIgnoringCase(value.name, ClassId);
        });
    }
    if (atLeastVersion6(profile))
        deleteTree(tree, Hive::LocalMachine, PropertyHandler);
}

void Associate(Prompter &prompter, const QString &programPath)
{
    // "l'impossibilité de pouvoir" and "la dll" are the program's own words, kept as they stand.
    if (!prompter.askYesNo(QStringLiteral("L'association entraînera l'impossibilité de pouvoir "
                                          "déplacer la dll (sauf désassocier).") +
                               CrLf +
                               QStringLiteral("Avez-vous placé l'application dans son dossier "
                                              "définitif ?"),
                           MessageIcon::Warning))
        return;
    const platform::PlatformProfile profile = platform::CurrentPlatformProfile();
    platform::changeRegistry([&](RegistryTree &tree) {
        WriteAssociation(tree, profile, programPath);
        return true;
    });
}

void Dissociate(Prompter &prompter, OutsidePrograms &programs)
{
    const platform::PlatformProfile profile = platform::CurrentPlatformProfile();
    platform::changeRegistry([&](RegistryTree &tree) {
        RemoveAssociation(tree, profile);
        return true;
    });
    if (prompter.askYesNo(QStringLiteral("Il est maintenant nécessaire de redémarrer "
                                         "l'ordinateur.") +
                          CrLf + QStringLiteral("Souhaitez-vous le faire maintenant ?")))
        programs.restartComputer();
}
