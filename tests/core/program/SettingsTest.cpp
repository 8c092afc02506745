#include "app/core/program/Settings.h"

#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::unique_ptr<platform::RegistryKey> Key()
{
    return platform::RegistryKey::open(platform::Hive::CurrentUser, "Software\\Quirelle", true);
}

} // namespace

TEST(Settings, ZoomAbsentOrDamagedIsWrittenAsZeroAndNotApplied)
{
    EXPECT_EQ(ReadZoomSetting(), std::nullopt);
    EXPECT_EQ(Key()->readInteger("Zoom"), 0);

    Key()->writeString("Zoom", "deux");
    EXPECT_EQ(ReadZoomSetting(), std::nullopt);
    EXPECT_EQ(Key()->readInteger("Zoom"), 0);
}

TEST(Settings, ZoomRoundTrip)
{
    WriteZoomSetting(3);
    EXPECT_EQ(Key()->readInteger("zoom"), 3);
    EXPECT_EQ(ReadZoomSetting(), 3);
    WriteZoomSetting(7); // stored as given: the zoom box shows no selection for it
    EXPECT_EQ(ReadZoomSetting(), 7);
}

TEST(Settings, PlacementRoundTripThroughTheRegistry)
{
    EXPECT_EQ(ReadWindowPlacement(), std::nullopt);

    SaveWindowPlacement({false, QRect(-20, 35, 800, 600)});
    EXPECT_EQ(Key()->readString("Agrandissement"), "Normal");
    EXPECT_EQ(Key()->readInteger("X"), -20);
    EXPECT_EQ(Key()->readInteger("Y"), 35);
    EXPECT_EQ(Key()->readInteger("Largeur"), 800);
    EXPECT_EQ(Key()->readInteger("Hauteur"), 600);
    std::optional<WindowPlacement> read = ReadWindowPlacement();
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->maximized);
    EXPECT_EQ(read->bounds, QRect(-20, 35, 800, 600));

    // Closing maximized keeps the earlier bounds.
    SaveWindowPlacement({true, QRect(0, 0, 1, 1)});
    EXPECT_EQ(Key()->readString("Agrandissement"), "Max");
    EXPECT_EQ(Key()->readInteger("Largeur"), 800);
    read = ReadWindowPlacement();
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->maximized);
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
    for (const Case &c : cases) {
        platform::RegistryKey::deleteTree(platform::Hive::CurrentUser, "Software\\Quirelle");
        SaveWindowPlacement({false, QRect(10, 20, 800, 600)});
        c.damage(*Key());
        const std::optional<WindowPlacement> read = ReadWindowPlacement();
        ASSERT_TRUE(read) << c.name;
        EXPECT_EQ(read->maximized, c.maximized) << c.name;
        if (!c.maximized) {
            EXPECT_EQ(read->bounds, QRect(10, 20, 800, 600)) << c.name;
        }
    }
}
