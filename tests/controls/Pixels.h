#pragma once

#include "controls/GradButton.h"

#include <QImage>

// The button as the screen shows it.
inline QImage Shot(TGradButton &button)
{
    return button.grab().toImage();
}

// A pixel as a colour value (red in the low byte), to compare with the scheme table.
inline TColor PixelAt(const QImage &image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return TColor(qRed(rgb)) | TColor(qGreen(rgb)) << 8 | TColor(qBlue(rgb)) << 16;
}
