#include "app/core/program/Settings.h"

#include "platform/Registry.h"
#include "platform/RegistryStore.h"

#include <memory>

namespace {

constexpr char Maximized[] = "Max";
constexpr char Normal[] = "Normal";

const QString DefaultsUsed = QStringLiteral("Les réglages par défaut sont utilisés.");

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

// The damage told, with the name the damaged file is kept under when it could be set aside.
QString SetAsideDamagedRegistry(const platform::RegistryDamagedError &damage)
{
    const QString told = QString::fromStdString(damage.what()) + u' ';
    try {
        if (const auto kept = platform::setAsideDamagedRegistry())
            return told + QStringLiteral("Il est gardé sous le nom %1 et les réglages par défaut "
                                         "sont utilisés.")
                              .arg(QString::fromStdString(kept->filename().string()));
    } catch (const platform::RegistryError &) {
    }
    return told + DefaultsUsed;
}

} // namespace

bool Settings::access(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const platform::RegistryDamagedError &damage) {
        if (reported_)
            return false; // set aside only when the message can name where it went
        report(SetAsideDamagedRegistry(damage));
    } catch (const platform::RegistryError &failure) {
        report(QString::fromStdString(failure.what()) + u' ' + DefaultsUsed);
        return false;
    }
    // Once the damaged file is set aside, the work starts a new registry.
    try {
        work();
        return true;
    } catch (const platform::RegistryError &) {
        return false;
    }
}

void Settings::report(const QString &message)
{
    if (reported_)
        return;
    reported_ = true;
    prompter_.error(message);
}

std::optional<std::int32_t> Settings::readZoom()
{
    std::optional<std::int32_t> zoom;
    const bool read = access([&] {
        const auto key = OpenSettings();
        zoom = ReadIntegerOrNothing(*key, SettingName::Zoom);
        if (!zoom)
            key->writeInteger(SettingName::Zoom, DefaultZoom);
    });
    return read ? zoom : std::nullopt;
}

void Settings::writeZoom(std::int32_t selection)
{
    access([&] { OpenSettings()->writeInteger(SettingName::Zoom, selection); });
}

std::optional<WindowPlacement> Settings::readWindowPlacement()
{
    std::optional<WindowPlacement> placement;
    const bool read = access([&] {
        placement.reset();
        const auto key = OpenSettings();
        if (!key->hasValue(SettingName::Largeur))
            return;
        placement.emplace(); // maximized
        if (key->valueType(SettingName::Agrandissement) == platform::ValueType::String &&
            key->readString(SettingName::Agrandissement) == Maximized)
            return;
        const auto x = ReadIntegerOrNothing(*key, SettingName::X);
        const auto y = ReadIntegerOrNothing(*key, SettingName::Y);
        const auto width = ReadIntegerOrNothing(*key, SettingName::Largeur);
        const auto height = ReadIntegerOrNothing(*key, SettingName::Hauteur);
        if (x && y && width && height && *width > 0 && *height > 0)
            placement = WindowPlacement{false, {*x, *y, *width, *height}};
    });
    return read ? placement : std::nullopt;
}

void Settings::saveWindowPlacement(const WindowPlacement &placement)
{
    access([&] {
        const auto key = OpenSettings();
        if (placement.maximized) {
            key->writeString(SettingName::Agrandissement, Maximized);
            return;
        }
        key->writeString(SettingName::Agrandissement, Normal);
        key->writeInteger(SettingName::X, placement.bounds.left);
        key->writeInteger(SettingName::Y, placement.bounds.top);
        key->writeInteger(SettingName::Largeur, placement.bounds.width);
        key->writeInteger(SettingName::Hauteur, placement.bounds.height);
    });
}
