#include "app/core/program/Settings.h"

#include "platform/Registry.h"

#include <memory>

namespace {

constexpr char Maximized[] = "Max";
constexpr char Normal[] = "Normal";

std::unique_ptr<platform::RegistryKey> OpenSettings()
{
    return platform::RegistryKey::open(platform::Hive::CurrentUser, SettingsKeyPath, true);
}

// A value of another type counts as absent.
std::optional<std::int32_t> ReadIntegerOrNothing(const platform::RegistryKey &key, const char *name)
{
    if (key.valueType(name) != platform::ValueType::Integer)
        return std::nullopt;
    return key.readInteger(name);
}

} // namespace

std::optional<std::int32_t> ReadZoomSetting()
{
    const auto key = OpenSettings();
    const std::optional<std::int32_t> zoom = ReadIntegerOrNothing(*key, SettingName::Zoom);
    if (!zoom)
        key->writeInteger(SettingName::Zoom, DefaultZoom);
    return zoom;
}

void WriteZoomSetting(std::int32_t selection)
{
    OpenSettings()->writeInteger(SettingName::Zoom, selection);
}

std::optional<WindowPlacement> ReadWindowPlacement()
{
    const auto key = OpenSettings();
    if (!key->hasValue(SettingName::Largeur))
        return std::nullopt;
    const WindowPlacement maximized;
    if (key->valueType(SettingName::Agrandissement) == platform::ValueType::String &&
        key->readString(SettingName::Agrandissement) == Maximized)
        return maximized;
    const auto x = ReadIntegerOrNothing(*key, SettingName::X);
    const auto y = ReadIntegerOrNothing(*key, SettingName::Y);
    const auto width = ReadIntegerOrNothing(*key, SettingName::Largeur);
    const auto height = ReadIntegerOrNothing(*key, SettingName::Hauteur);
    if (!x || !y || !width || !height || *width <= 0 || *height <= 0)
        return maximized;
    return WindowPlacement{false, QRect(*x, *y, *width, *height)};
}

void SaveWindowPlacement(const WindowPlacement &placement)
{
    const auto key = OpenSettings();
    if (placement.maximized) {
        key->writeString(SettingName::Agrandissement, Maximized);
        return;
    }
    key->writeString(SettingName::Agrandissement, Normal);
    key->writeInteger(SettingName::X, placement.bounds.x());
    key->writeInteger(SettingName::Y, placement.bounds.y());
    key->writeInteger(SettingName::Largeur, placement.bounds.width());
    key->writeInteger(SettingName::Hauteur, placement.bounds.height());
}
