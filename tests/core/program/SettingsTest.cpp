#include "app/core/program/Settings.h"

#include "platform/PlatformRoot.h"
#include "platform/Registry.h"
#include "platform/RegistryStore.h"
#include "tests/support/BookFixture.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::unique_ptr<platform::RegistryKey> Key()
{
    return platform::RegistryKey::open(platform::Hive::CurrentUser, "Software\\Quirelle", true);
}

QString Path(const std::filesystem::path &path)
{
    return QString::fromStdString(path.string());
}

} // namespace

TEST(Settings, ZoomAbsentOrDamagedIsWrittenAsZeroAndNotApplied)
{
    RecordingPrompter prompter;
    Settings settings(prompter);
    EXPECT_EQ(settings.readZoom(), std::nullopt);
    EXPECT_EQ(Key()->readInteger("Zoom"), 0);

    Key()->writeString("Zoom", "deux");
    EXPECT_EQ(settings.readZoom(), std::nullopt);
    EXPECT_EQ(Key()->readInteger("Zoom"), 0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(Settings, ZoomRoundTrip)
{
    RecordingPrompter prompter;
    Settings settings(prompter);
    settings.writeZoom(3);
    EXPECT_EQ(Key()->readInteger("zoom"), 3);
    EXPECT_EQ(settings.readZoom(), 3);
    settings.writeZoom(7); // stored as given: the zoom box shows no selection for it
    EXPECT_EQ(settings.readZoom(), 7);
}

TEST(Settings, PlacementRoundTripThroughTheRegistry)
{
    RecordingPrompter prompter;
    Settings settings(prompter);
    EXPECT_EQ(settings.readWindowPlacement(), std::nullopt);

    settings.saveWindowPlacement({false, {-20, 35, 800, 600}});
    EXPECT_EQ(Key()->readString("Agrandissement"), "Normal");
    EXPECT_EQ(Key()->readInteger("X"), -20);
    EXPECT_EQ(Key()->readInteger("Y"), 35);
    EXPECT_EQ(Key()->readInteger("Largeur"), 800);
    EXPECT_EQ(Key()->readInteger("Hauteur"), 600);
    EXPECT_EQ(settings.readWindowPlacement(), (WindowPlacement{false, {-20, 35, 800, 600}}));

    // Closing maximized keeps the earlier bounds.
    settings.saveWindowPlacement({true, {0, 0, 1, 1}});
    EXPECT_EQ(Key()->readString("Agrandissement"), "Max");
    EXPECT_EQ(Key()->readInteger("Largeur"), 800);
    const std::optional<WindowPlacement> read = settings.readWindowPlacement();
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->maximized);

    // Any 32-bit values are kept as they are: the screens bound them when they are applied.
    settings.saveWindowPlacement({false, {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX}});
    EXPECT_EQ(settings.readWindowPlacement(),
              (WindowPlacement{false, {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX}}));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(Settings, DamagedPlacementComesBackMaximized)
{
    struct Case {
        const char *name;
        std::function<void(platform::RegistryKey &)> damage;
        bool maximized;
    };
    const Case cases[] = {
        {"intact", [](platform::RegistryKey &) {}, false},
        {"X missing", [](platform::RegistryKey &k) { k.deleteValue("X"); }, true},
        {"Hauteur missing", [](platform::RegistryKey &k) { k.deleteValue("Hauteur"); }, true},
        {"Y as text", [](platform::RegistryKey &k) { k.writeString("Y", "12"); }, true},
        {"Largeur as text", [](platform::RegistryKey &k) { k.writeString("Largeur", "800"); },
         true},
        {"zero width", [](platform::RegistryKey &k) { k.writeInteger("Largeur", 0); }, true},
        {"negative height", [](platform::RegistryKey &k) { k.writeInteger("Hauteur", -5); }, true},
        {"Agrandissement missing",
         [](platform::RegistryKey &k) { k.deleteValue("Agrandissement"); }, false},
        {"Agrandissement as integer",
         [](platform::RegistryKey &k) { k.writeInteger("Agrandissement", 1); }, false},
        {"\"max\" is not \"Max\"",
         [](platform::RegistryKey &k) { k.writeString("Agrandissement", "max"); }, false},
    };
    RecordingPrompter prompter;
    Settings settings(prompter);
    for (const Case &c : cases) {
        platform::RegistryKey::deleteTree(platform::Hive::CurrentUser, "Software\\Quirelle");
        settings.saveWindowPlacement({false, {10, 20, 800, 600}});
        c.damage(*Key());
        const std::optional<WindowPlacement> read = settings.readWindowPlacement();
        ASSERT_TRUE(read) << c.name;
        EXPECT_EQ(read->maximized, c.maximized) << c.name;
        if (!c.maximized) {
            EXPECT_EQ(read->bounds, (WindowBounds{10, 20, 800, 600})) << c.name;
        }
    }
}

// Each object tells the first failure of its run once; a new one (a new run) tells it again.
TEST(Settings, ADamagedRegistryIsToldOnceKeptAsideAndStartedAfresh)
{
    const std::filesystem::path root = platform::PlatformRoot();
    const std::filesystem::path file = root / "registry.txt";
    WriteFileBytes(root / "registry.txt.endommagé", ToBytes("an earlier one"));
    for (const int run : {2, 3}) {
        const Bytes damaged = ToBytes("[HKEY_CURRENT_USER\\Software\\Quirelle]\n\"Zoom\"=in");
        WriteFileBytes(file, damaged);
        RecordingPrompter prompter;
        Settings settings(prompter);
        EXPECT_EQ(settings.readWindowPlacement(), std::nullopt);
        EXPECT_EQ(settings.readZoom(), std::nullopt);
        settings.writeZoom(2);
        settings.saveWindowPlacement({false, {1, 2, 300, 400}});

        const std::string kept = "registry.txt.endommagé-" + std::to_string(run);
        EXPECT_EQ(
            prompter.texts(),
            std::vector<QString>{QStringLiteral("Le registre est endommagé : %1 (ligne 2). Il "
                                                "est gardé sous le nom %2 et les réglages "
                                                "par défaut sont utilisés.")
                                     .arg(Path(file), QString::fromStdString(kept))});
        EXPECT_EQ(ReadFileBytes(root / kept), damaged) << run;
        EXPECT_EQ(settings.readZoom(), 2);
        EXPECT_EQ(settings.readWindowPlacement(), (WindowPlacement{false, {1, 2, 300, 400}}));
    }
    EXPECT_EQ(ReadFileBytes(root / "registry.txt.endommagé"), ToBytes("an earlier one"));
}

TEST(Settings, AnUnreadableRegistryGivesTheDefaultsAndIsLeftAlone)
{
    const std::filesystem::path root = platform::PlatformRoot();
    const std::filesystem::path file = root / "registry.txt";
    std::filesystem::create_directory(file);
    WriteFileBytes(file / "inside", ToBytes("x"));
    RecordingPrompter prompter;
    Settings settings(prompter);
    EXPECT_EQ(settings.readWindowPlacement(), std::nullopt);
    EXPECT_EQ(settings.readZoom(), std::nullopt);
    settings.writeZoom(2);
    settings.saveWindowPlacement({false, {1, 2, 300, 400}});
    EXPECT_EQ(prompter.texts(),
              std::vector<QString>{QStringLiteral("Impossible de lire le registre : %1. Les "
                                                  "réglages par défaut sont utilisés.")
                                       .arg(Path(file))});
    EXPECT_EQ(FileNamesIn(root), (std::vector<std::string>{"registry.txt", "registry.txt.lock"}));
    EXPECT_EQ(FileNamesIn(file), std::vector<std::string>{"inside"});
}

TEST(Settings, AfterTheMessageADamagedFileIsLeftAsItIs)
{
    const std::filesystem::path root = platform::PlatformRoot();
    std::filesystem::create_directory(root / "registry.txt.lock");
    RecordingPrompter prompter;
    Settings settings(prompter);
    settings.writeZoom(1);
    ASSERT_EQ(prompter.messages.size(), 1u);

    std::filesystem::remove(root / "registry.txt.lock");
    const Bytes damaged = ToBytes("pas un registre\n");
    WriteFileBytes(root / "registry.txt", damaged);
    EXPECT_EQ(settings.readZoom(), std::nullopt);
    settings.writeZoom(2);
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(ReadFileBytes(root / "registry.txt"), damaged);
    EXPECT_EQ(FileNamesIn(root), (std::vector<std::string>{"registry.txt", "registry.txt.lock"}));
}
