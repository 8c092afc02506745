#include "app/Marges.h"

#include "app/widgets/WindowStyle.h"

#include "tests/support/RecordingPrintTarget.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

struct MargesFixture {
    PrintState state;
    RecordingPrintTarget printer;
    TForm2 form{state, printer};

    MargesFixture() { printer.printer = ExamplePrinter(PaperOrientation::Portrait); }
};

std::vector<QString> LabelTexts(const QWidget &form, bool underlined)
{
    std::vector<QString> texts;
    for (const QLabel *label : form.findChildren<QLabel *>())
        if (label->font().underline() == underlined && !label->text().isEmpty())
            texts.push_back(label->text());
    return texts;
}

TEST(Marges, ControlsTextsAndLimits)
{
    MargesFixture f;
    EXPECT_EQ(f.form.windowTitle(), QStringLiteral("Marges"));
    EXPECT_EQ(f.form.layout()->sizeConstraint(), QLayout::SetFixedSize);
    EXPECT_EQ(LabelTexts(f.form, false),
              (std::vector<QString>{
                  QStringLiteral("Les valeurs minimales dépendent de votre imprimante."),
                  QStringLiteral("Si vous n'êtes pas sûr, laissez-les inchangées."),
                  QStringLiteral("L'unité est le millimètre.")}));
    EXPECT_EQ(
        LabelTexts(f.form, true),
        (std::vector<QString>{QStringLiteral("Haut et bas :"), QStringLiteral("Gauche et droite :"),
                              QStringLiteral("Milieu :"),
                              QStringLiteral("Dimension conseillée pour les images (pixels) :")}));
    EXPECT_EQ(f.form.Valider->text(), QStringLiteral("Valider"));

    struct Limits {
        QSpinBox *box;
        int minimum, maximum, value, step;
    };
    for (const Limits &l :
         {Limits{f.form.Haut, 2, 100, 20, 1}, Limits{f.form.Gauche, 2, 100, 20, 1},
          Limits{f.form.Milieu, 2, 100, 40, 2}}) {
        EXPECT_EQ(l.box->minimum(), l.minimum);
        EXPECT_EQ(l.box->maximum(), l.maximum);
        EXPECT_EQ(l.box->value(), l.value);
        EXPECT_EQ(l.box->singleStep(), l.step);
    }
}

TEST(Marges, ShowsTheImageSizeForTheLayout)
{
    struct Case {
        const char *layout;
        PaperOrientation orientation;
        const char *x, *y;
    };
    const Case cases[] = {
        {"A4", PaperOrientation::Portrait, "X : 4017", "Y : 6073"},
        {"A5", PaperOrientation::Landscape, "X : 2565", "Y : 4017"},
        {"", PaperOrientation::Portrait, "X : 4017", "Y : 6073"},
    };
    for (const Case &c : cases) {
        MargesFixture f;
        f.state.PrintLayout = QString::fromLatin1(c.layout);
        f.printer.printer = ExamplePrinter(c.orientation);
        f.form.refresh();
        EXPECT_EQ(f.form.DimX->text(), QString::fromLatin1(c.x));
        EXPECT_EQ(f.form.DimY->text(), QString::fromLatin1(c.y));
        EXPECT_GT(f.state.DotsPerMmX, 23.5L);
        EXPECT_GT(f.state.DotsPerMmY, 23.5L);
    }
}

TEST(Marges, MarginBelowThePrinterMinimumIsRaisedAtOnce)
{
    MargesFixture f;
    f.state.PrintLayout = QStringLiteral("A4");
    f.form.setMinima({25, 3, 0});
    EXPECT_EQ(f.form.Haut->value(), 25);
    EXPECT_EQ(f.form.Haut->minimum(), 25);
    EXPECT_EQ(f.form.Gauche->value(), 20);
    EXPECT_EQ(f.form.Gauche->minimum(), 3);
    // 7016 - 50 mm x 6816 / 289 dots per mm
    EXPECT_EQ(f.form.DimY->text(), QStringLiteral("Y : 5837"));
}

TEST(Marges, ValuesMoveOnlyByTheirStep)
{
    MargesFixture f;
    f.form.show();
    QTest::keyClicks(f.form.Gauche, QStringLiteral("5"));
    EXPECT_EQ(f.form.Gauche->value(), 20);
    QTest::keyClick(f.form.Milieu, Qt::Key_Up);
    EXPECT_EQ(f.form.Milieu->value(), 42);
    QTest::keyClick(f.form.Gauche, Qt::Key_PageUp);
    EXPECT_EQ(f.form.Gauche->value(), 21);
    f.form.Haut->setValue(100);
    QTest::keyClick(f.form.Haut, Qt::Key_Up);
    EXPECT_EQ(f.form.Haut->value(), 100);
    EXPECT_EQ(f.form.values().Milieu, 42);
}

// Sized in the form font of the other windows, every text whole, and centred on the screen.
TEST(Marges, OpensCentredWithEveryTextWhole)
{
    MargesFixture f;
    f.state.PrintLayout = QStringLiteral("A5");
    QRect shown;
    std::vector<QString> cut;
    QTimer::singleShot(0, f.form.Valider, [&] {
        shown = f.form.frameGeometry();
        for (const QWidget *child : f.form.findChildren<QWidget *>())
            if (child->isVisible() && child->width() < child->sizeHint().width())
                cut.push_back(child->objectName() + child->metaObject()->className());
        f.form.Valider->click();
    });
    f.form.refresh();
    f.form.showModal();
    EXPECT_EQ(f.form.font(), FormFont());
    EXPECT_TRUE(cut.empty()) << cut.front().toStdString();
    const QPoint offset =
        shown.center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 10); // the window frame aside
}

TEST(Marges, ValiderClosesTheModalDialog)
{
    MargesFixture f;
    QTimer::singleShot(0, f.form.Valider, [&] { f.form.Valider->click(); });
    f.form.showModal();
    EXPECT_FALSE(f.form.isVisible());
}

} // namespace
