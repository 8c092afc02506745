#pragma once

#include <QIcon>

// The description editor's tool bar icons, drawn by the program itself.
enum class ToolIcon {
    Bold,
    Italic,
    Underline,
    StrikeOut,
    TextColour,
    Font,
    AlignLeft,
    AlignCentre,
    AlignRight,
    Cut,
    Copy,
    Paste,
    Undo,
};

// A 16 by 16 icon.
QIcon DrawToolIcon(ToolIcon icon);
