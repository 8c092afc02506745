#include "app/Marges.h"

#include "app/widgets/WindowStyle.h"
#include "controls/EventGuard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *UnderlinedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    return label;
}

} // namespace

ArrowSpinBox::ArrowSpinBox(int minimum, int maximum, int value, int step, QWidget *parent)
    : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setValue(value);
    setSingleStep(step);
    lineEdit()->setReadOnly(true);
}

void ArrowSpinBox::stepBy(int steps)
{
    QSpinBox::stepBy((steps > 0) - (steps < 0));
}

TForm2::TForm2(PrintState &state, const PrintTarget &printer, QWidget *parent)
    : QDialog(parent), state_(state), printer_(printer)
{
    // The children take the form font from the window; its size is that of its content.
    setFont(FormFont());

    Haut = new ArrowSpinBox(2, 100, 20, 1, this);
    Gauche = new ArrowSpinBox(2, 100, 20, 1, this);
    Milieu = new ArrowSpinBox(2, 100, 40, 2, this);
    DimX = new QLabel(this);
    DimY = new QLabel(this);
    Valider = new QPushButton(QStringLiteral("Valider"), this);

    auto *margins = new QGridLayout;
    margins->addWidget(UnderlinedLabel(QStringLiteral("Haut et bas :"), this), 0, 0);
    margins->addWidget(Haut, 0, 1);
    margins->addWidget(UnderlinedLabel(QStringLiteral("Gauche et droite :"), this), 1, 0);
    margins->addWidget(Gauche, 1, 1);
    margins->addWidget(UnderlinedLabel(QStringLiteral("Milieu :"), this), 2, 0);
    margins->addWidget(Milieu, 2, 1);

    auto *dimensions = new QHBoxLayout;
    dimensions->addWidget(DimX);
    dimensions->addWidget(DimY);

    auto *column = new QVBoxLayout(this);
    column->addWidget(
        new QLabel(QStringLiteral("Les valeurs minimales dépendent de votre imprimante."), this));
    column->addWidget(
        new QLabel(QStringLiteral("Si vous n'êtes pas sûr, laissez-les inchangées."), this));
    column->addWidget(new QLabel(QStringLiteral("L'unité est le millimètre."), this));
    column->addLayout(margins);
    column->addWidget(
        UnderlinedLabel(QStringLiteral("Dimension conseillée pour les images (pixels) :"), this));
    column->addLayout(dimensions);
    column->addWidget(Valider, 0, Qt::AlignHCenter);
    column->setSizeConstraint(QLayout::SetFixedSize);
    ensurePolished(); // the style's sizes, as the dialog will be shown
    StyleSecondaryWindow(*this, QStringLiteral("Marges"), sizeHint());

    for (QSpinBox *box : {Haut, Gauche, Milieu})
        ConnectGuarded(box, &QSpinBox::valueChanged, this, &TForm2::HautChange);
    ConnectGuarded(Valider, &QPushButton::clicked, this, &TForm2::ValiderClick);
}

void TForm2::setMiddleEnabled(bool enabled)
{
    Milieu->setEnabled(enabled);
}

void TForm2::setMinima(const MarginsMm &minima)
{
    // A value below its new minimum is raised to it at once.
    Haut->setMinimum(minima.Haut);
    Gauche->setMinimum(minima.Gauche);
}

void TForm2::showModal()
{
    exec();
}

MarginsMm TForm2::values() const
{
    return {Haut->value(), Gauche->value(), Milieu->value()};
}

void TForm2::HautChange()
{
    const PrinterGeometry printer = printer_.geometry();
    if (!printer.isUsable())
        return;
    const QSize size = UpdateMarginsPreview(state_, printer, values());
    DimX->setText(QStringLiteral("X : ") + QString::number(size.width()));
    DimY->setText(QStringLiteral("Y : ") + QString::number(size.height()));
}

void TForm2::ValiderClick()
{
    accept();
}
