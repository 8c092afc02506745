#pragma once

#include "controls/GradButtonTypes.h"

#include <QColor>
#include <QPoint>

class QPainter;

// Drawing on whole pixels with the conventions of the button's geometry: a line leaves out its
// end point and a frame (left, top)-(right, bottom) leaves out the right column and bottom row.

QColor ToQColor(TColor color);

// A horizontal or vertical one-pixel line from `from` towards `to`, `to` itself not painted.
void DrawLine(QPainter &painter, QPoint from, QPoint to, TColor color);

// The one-pixel outline of the pixels from (left, top) to (right - 1, bottom - 1).
void DrawFrame(QPainter &painter, int left, int top, int right, int bottom, TColor color);
