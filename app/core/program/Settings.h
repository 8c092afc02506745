#pragma once

#include "app/core/program/ScreenPlacement.h"
#include "app/core/seams/Prompter.h"

#include <cstdint>
#include <functional>
#include <optional>

// The per-user settings, every value under HKEY_CURRENT_USER\Software\Quirelle:
//
// | value            | type    | written                    | when absent                     |
// |------------------|---------|----------------------------|---------------------------------|
// | "Zoom"           | integer | on every zoom change       | 0 is written, the zoom box      |
// |                  |         |                            | keeps its selection             |
// | "Agrandissement" | string  | on close: "Max"/"Normal"   | read as "", which is not "Max"  |
// | "X", "Y",        | integer | on close, only when the    | the window keeps its start      |
// | "Largeur",       |         | window is not maximized    | state, maximized                |
// | "Hauteur"        |         |                            |                                 |
//
// The key is created when missing whenever it is opened.
namespace SettingName {
inline constexpr char Zoom[] = "Zoom";
inline constexpr char Agrandissement[] = "Agrandissement";
inline constexpr char X[] = "X";
inline constexpr char Y[] = "Y";
inline constexpr char Largeur[] = "Largeur";
inline constexpr char Hauteur[] = "Hauteur";
} // namespace SettingName

inline constexpr char SettingsKeyPath[] = "Software\\Quirelle";
inline constexpr std::int32_t DefaultZoom = 0;

struct WindowPlacement {
    bool maximized = true;
    WindowBounds bounds; // of a window that is not maximized
    bool operator==(const WindowPlacement &) const = default;
};

// The settings of one run, read and written through the registry. A registry that cannot be
// read or written never stops the program: the settings are then the defaults (as if absent)
// and a change is not kept, and the first failure of the run is told in one message naming
// the file. A damaged registry file is first set aside under a name of its own, which that
// message names, so that the settings start a new registry in its place; after the message it
// is left as it is, so that no file is set aside unseen.
class Settings {
public:
    explicit Settings(Prompter &prompter) : prompter_(prompter) {}

    // The saved zoom mode. When it is absent, or not an integer, DefaultZoom is written in its
    // place and nothing is returned: the zoom box then keeps its selection.
    std::optional<std::int32_t> readZoom();
    void writeZoom(std::int32_t selection);

    // The placement saved on the last close; nothing when none was ever saved ("Largeur"
    // absent). A normal placement whose values are missing or unreadable, or whose size is not
    // positive, comes back maximized.
    std::optional<WindowPlacement> readWindowPlacement();
    // A maximized window only records "Max", keeping the earlier bounds for the next normal one.
    void saveWindowPlacement(const WindowPlacement &placement);

private:
    // Runs `work` on the registry; false when the registry failed it.
    bool access(const std::function<void()> &work);
    void report(const QString &message);

    Prompter &prompter_;
    bool reported_ = false;
};
