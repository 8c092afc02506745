#include "app/Descript.h"

#include "app/WindowStyle.h"

TDesc::TDesc(QWidget *parent) : QDialog(parent)
{
    StyleSecondaryWindow(*this, QStringLiteral("Description"), QSize(870, 640));
}
