#pragma once

#include "platform/PlatformProfile.h"
#include "platform/RegistryTree.h"

#include <QString>

class OutsidePrograms;
class Prompter;

// The shell library's class, registered for book files by the association.
inline constexpr char ShellLibraryClassId[] = "{9866CE29-2D30-4D9C-B876-806D79F7959F}";
// The shell library's file, expected in the program's own folder.
inline constexpr char ShellLibraryFileName[] = "libVorstel.so";

// Ties ".bd" in tree to the program at programPath and to the shell library beside it: the
// whole key HKEY_CLASSES_ROOT\.bd is replaced (type "Quirelle", open command, icon, the
// library as thumbnail and info-tip handler), the library's class is registered, the user's
// own choices for the extension are removed, and on the NT family the library is approved,
// from version 6 on also as the extension's property handler.
void WriteAssociation(platform::RegistryTree &tree, const platform::PlatformProfile &profile,
                      const QString &programPath);

// Removes the keys .bd and the library's class whole, and on the NT family the approval and
// the property handler.
void RemoveAssociation(platform::RegistryTree &tree, const platform::PlatformProfile &profile);

// The two commands. Associating asks first and changes nothing unless the answer is yes;
// removing asks afterwards whether to restart the computer. Each writes the registry in
// one save, so a failure (RegistryError) leaves it as it was.
void Associate(Prompter &prompter, const QString &programPath);
void Dissociate(Prompter &prompter, OutsidePrograms &programs);
