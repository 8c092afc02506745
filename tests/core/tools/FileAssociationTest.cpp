#include "app/core/tools/FileAssociation.h"

#include "platform/Registry.h"
#include "platform/RegistryStore.h"
#include "tests/support/BookFixture.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/ScriptedPrograms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using platform::PlatformProfile;
using platform::WindowsFamily;

const PlatformProfile Windows98{WindowsFamily::Windows9x, 4, 10};
const PlatformProfile WindowsXP{WindowsFamily::NT, 5, 1};
const PlatformProfile Windows7{WindowsFamily::NT, 6, 1};

const QString Program = QStringLiteral("/opt/Mes programmes/quirelle");

// Another program's association, the user's own choices and another approved extension.
const std::string Before = R"(
[HKEY_CLASSES_ROOT\.bd]
@="AutreVisionneuse"

[HKEY_CLASSES_ROOT\.bd\OpenWithProgids]
"Autre.bd"=""

[HKEY_CLASSES_ROOT\.bd\shellex\{BB2E617C-0920-11d1-9A0B-00C04FC2D6C1}]
@="{11111111-2222-3333-4444-555555555555}"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.bd\UserChoice]
"Progid"="Autre.bd"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.txt\UserChoice]
"Progid"="txtfile"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved]
"{11111111-2222-3333-4444-555555555555}"="Autre"

)";

// What the association leaves under HKEY_CLASSES_ROOT and HKEY_CURRENT_USER, on every
// platform.
const std::string AssociatedClassesAndUser = R"(
[HKEY_CLASSES_ROOT\.bd]
@="Quirelle"

[HKEY_CLASSES_ROOT\.bd\CLSID]
@="{9866CE29-2D30-4D9C-B876-806D79F7959F}"

[HKEY_CLASSES_ROOT\.bd\DefaultIcon]
@="/opt/Mes programmes/quirelle,0"

[HKEY_CLASSES_ROOT\.bd\shell\Quirelle\command]
@="\"/opt/Mes programmes/quirelle\" \"%1\""

[HKEY_CLASSES_ROOT\.bd\shellex\{00021500-0000-0000-C000-000000000046}]
@="{9866CE29-2D30-4D9C-B876-806D79F7959F}"

[HKEY_CLASSES_ROOT\.bd\shellex\{BB2E617C-0920-11d1-9A0B-00C04FC2D6C1}]
@="{9866CE29-2D30-4D9C-B876-806D79F7959F}"

[HKEY_CLASSES_ROOT\CLSID\{9866CE29-2D30-4D9C-B876-806D79F7959F}\InprocServer32]
@="/opt/Mes programmes/libVorstel.so"
"ThreadingModel"="Apartment"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.txt\UserChoice]
"Progid"="txtfile"

)";

const std::string ApprovedBoth = R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved]
"{11111111-2222-3333-4444-555555555555}"="Autre"
"{9866CE29-2D30-4D9C-B876-806D79F7959F}"="Quirelle"

)";

const std::string PropertyHandler = R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\PropertySystem\PropertyHandlers\.bd]
@="{9866CE29-2D30-4D9C-B876-806D79F7959F}"

)";

const std::string ApprovedOther = R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved]
"{11111111-2222-3333-4444-555555555555}"="Autre"

)";

// The registry as its file shows it, from a text of the same form without its heading.
std::string Dump(const platform::RegistryTree &tree)
{
    return platform::formatRegistry(tree);
}

std::string Expected(const std::string &keys)
{
    return Dump(platform::parseRegistry(keys, "expected"));
}

platform::RegistryTree Tree(const std::string &keys)
{
    return platform::parseRegistry(keys, "test");
}

TEST(WriteAssociation, KeySetsPerPlatform)
{
    const struct {
        const char *name;
        PlatformProfile profile;
        std::string machine; // HKEY_LOCAL_MACHINE afterwards
    } cases[] = {
        {"Windows 9x: nothing under HKEY_LOCAL_MACHINE", Windows98, ApprovedOther},
        {"NT 5: the approved extension", WindowsXP, ApprovedBoth},
        {"NT 6: also the property handler", Windows7, PropertyHandler + ApprovedBoth},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        platform::RegistryTree tree = Tree(Before);
        WriteAssociation(tree, c.profile, Program);
        EXPECT_EQ(Dump(tree), Expected(AssociatedClassesAndUser + c.machine));
        // Again: the same entries, nothing doubled.
        WriteAssociation(tree, c.profile, Program);
        EXPECT_EQ(Dump(tree), Expected(AssociatedClassesAndUser + c.machine));
    }
}

TEST(RemoveAssociation, KeySetsPerPlatform)
{
    const std::string rest = R"(
[HKEY_CLASSES_ROOT\CLSID]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.txt\UserChoice]
"Progid"="txtfile"

)";
    const std::string emptyHandlers = R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\PropertySystem\PropertyHandlers]

)";
    const struct {
        const char *name;
        PlatformProfile profile;
        std::string machine;
    } cases[] = {
        {"Windows 9x: HKEY_LOCAL_MACHINE untouched", Windows98, PropertyHandler + ApprovedBoth},
        {"NT 5: no longer approved", WindowsXP, PropertyHandler + ApprovedOther},
        {"NT 6: nor the property handler", Windows7, emptyHandlers + ApprovedOther},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        platform::RegistryTree tree = Tree(Before);
        WriteAssociation(tree, Windows7, Program);
        RemoveAssociation(tree, c.profile);
        EXPECT_EQ(Dump(tree), Expected(rest + c.machine));
    }
}

std::string RegistryFileBytes()
{
    platform::readRegistry(); // made on first use
    const Bytes bytes = ReadFileBytes(platform::registryFilePath());
    return std::string(bytes.begin(), bytes.end());
}

const QString AssociationQuestion = QStringLiteral(
    "L'association entraînera l'impossibilité de pouvoir déplacer la dll (sauf désassocier).\r\n"
    "Avez-vous placé l'application dans son dossier définitif ?");
const QString RestartQuestion =
    QStringLiteral("Il est maintenant nécessaire de redémarrer l'ordinateur.\r\n"
                   "Souhaitez-vous le faire maintenant ?");

TEST(Associate, AsksFirstAndChangesNothingUnlessTheAnswerIsYes)
{
    platform::SetPlatformProfile(Windows7);
    const std::string before = RegistryFileBytes();
    RecordingPrompter prompter;
    prompter.answer(MessageAnswer::No);

    Associate(prompter, Program);

    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, AssociationQuestion);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(RegistryFileBytes(), before);

    platform::RegistryTree expected = platform::readRegistry();
    WriteAssociation(expected, Windows7, Program);
    prompter.answer(MessageAnswer::Yes);
    Associate(prompter, Program);
    EXPECT_EQ(Dump(platform::readRegistry()), Dump(expected));
    EXPECT_TRUE(platform::RegistryKey::exists(platform::Hive::ClassesRoot, ".bd\\DefaultIcon"));
    EXPECT_EQ(prompter.messages.size(), 2u) << "nothing is shown when it is done";
}

TEST(Associate, ARegistryThatCannotBeSavedKeepsItsPreviousState)
{
    platform::SetPlatformProfile(Windows7);
    platform::RegistryKey::open(platform::Hive::ClassesRoot, ".bd", true)->writeString("", "Autre");
    const std::string before = RegistryFileBytes();
    RecordingPrompter prompter;
    prompter.answer(MessageAnswer::Yes);
    {
        // Removing the old key alone would still fit; the whole association does not.
        const FileSizeLimit limit(before.size());
        EXPECT_THROW(Associate(prompter, Program), platform::RegistryError);
    }
    EXPECT_EQ(RegistryFileBytes(), before);
}

TEST(Dissociate, ARegistryThatCannotBeSavedOffersNoRestart)
{
    platform::SetPlatformProfile(Windows7);
    RecordingPrompter prompter;
    prompter.answer(MessageAnswer::Yes);
    Associate(prompter, Program);
    const std::string before = RegistryFileBytes();
    ScriptedPrograms programs;
    prompter.answer(MessageAnswer::Yes);
    {
        // Even the registry left without the association does not fit.
        const FileSizeLimit limit(16);
        EXPECT_THROW(Dissociate(prompter, programs), platform::RegistryError);
    }

    EXPECT_EQ(RegistryFileBytes(), before);
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(programs.restarts, 0);
}

TEST(Dissociate, RemovesTheAssociationThenOffersToRestart)
{
    for (const bool restart : {false, true}) {
        SCOPED_TRACE(restart ? "yes" : "no");
        platform::SetPlatformProfile(WindowsXP);
        RecordingPrompter prompter;
        prompter.answer(MessageAnswer::Yes);
        Associate(prompter, Program);
        ScriptedPrograms programs;
        prompter.messages.clear();
        prompter.answer(restart ? MessageAnswer::Yes : MessageAnswer::No);

        Dissociate(prompter, programs);

        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, RestartQuestion);
        EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(programs.restarts, restart ? 1 : 0);
        EXPECT_FALSE(platform::RegistryKey::exists(platform::Hive::ClassesRoot, ".bd"));
        EXPECT_FALSE(platform::RegistryKey::exists(platform::Hive::ClassesRoot,
                                                   std::string("CLSID\\") + ShellLibraryClassId));

        // With nothing left to remove the question still comes.
        prompter.answer(MessageAnswer::No);
        Dissociate(prompter, programs);
        EXPECT_EQ(prompter.texts(), (std::vector<QString>{RestartQuestion, RestartQuestion}));
    }
}

} // namespace
