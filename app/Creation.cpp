#include "app/Creation.h"

#include "app/WindowStyle.h"

TCreeBD::TCreeBD(QWidget *parent) : QDialog(parent)
{
    StyleSecondaryWindow(*this, QStringLiteral("Création"), QSize(571, 577));
    // The height is fixed; the width may grow, down to 360.
    setMinimumSize(360, 577);
    setMaximumHeight(577);
}
