#pragma once

#include <QRect>

#include <cstdint>
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

// The saved zoom mode. When it is absent, or not an integer, DefaultZoom is written in its
// place and nothing is returned: the zoom box then keeps its selection.
std::optional<std::int32_t> ReadZoomSetting();
void WriteZoomSetting(std::int32_t selection);

struct WindowPlacement {
    bool maximized = true;
    QRect bounds; // left, top, width and height of a window that is not maximized
};

// The placement saved on the last close; nothing when none was ever saved ("Largeur" absent).
// A normal placement whose values are missing or unreadable, or whose size is not positive,
// comes back maximized.
std::optional<WindowPlacement> ReadWindowPlacement();

// A maximized window only records "Max", keeping the earlier bounds for the next normal one.
void SaveWindowPlacement(const WindowPlacement &placement);
