#include "app/Forms.h"
#include "app/Marges.h"
#include "app/widgets/ClickLabel.h"

#include "tests/app/WindowFixture.h"
#include "tests/support/LoadedLibraries.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(StartUp, TheMainWindowReachesTheOtherFourWindows)
{
    Program program;
    Forms &forms = program.forms;
    EXPECT_EQ(forms.Form1.Propos, &forms.Propos);
    EXPECT_EQ(forms.Form1.CreeBD, &forms.CreeBD);
    EXPECT_EQ(forms.Form1.Desc, &forms.Desc);
    EXPECT_NE(forms.Form1.findChild<TForm2 *>(), nullptr)
        << "the margins dialog exists from the start";
    const struct {
        QWidget *window;
        const char *caption;
        QSize size;
    } windows[] = {
        {&forms.Propos, "A propos", QSize(272, 231)},
        {&forms.CreeBD, "Création", QSize(571, 577)},
        {&forms.Desc, "Description", QSize(870, 640)},
    };
    for (const auto &w : windows) {
        EXPECT_EQ(w.window->windowTitle(), QString::fromUtf8(w.caption));
        EXPECT_EQ(w.window->size(), w.size) << w.caption;
        EXPECT_FALSE(w.window->windowFlags() & Qt::WindowMinMaxButtonsHint) << w.caption;
        EXPECT_FALSE(w.window->isVisible()) << w.caption;
    }
    EXPECT_EQ(forms.CreeBD.minimumSize(), QSize(360, 577));
    EXPECT_EQ(forms.CreeBD.maximumHeight(), 577);
}

TEST(StartUp, LoadsNeitherGraphicsMagickNorThePrinterBeforeTheirFirstUse)
{
    Program program;
    for (const char *library : {"libGraphicsMagick", "cupsprintersupport"})
        EXPECT_FALSE(LibraryLoaded(library)) << library;
    program.forms.Form1.marginsDialog().refresh(); // asks the printer for its page size
    EXPECT_TRUE(LibraryLoaded("cupsprintersupport"));
}

TEST(AboutBox, TextsAndPlaces)
{
    Program program;
    TPropos &propos = program.forms.Propos;
    const struct {
        QLabel *label;
        const char *text;
        QPoint place;
    } labels[] = {
        {propos.Label1, "Quirelle vs 8.4.13", {80, 40}},
        {propos.Label2, "Programmé par :", {20, 90}},
        {propos.Label4, "Convertir des docs en bd : ", {21, 112}},
        {propos.Label5, "https://quirelle.invalid/", {17, 130}},
    };
    for (const auto &l : labels) {
        EXPECT_EQ(l.label->text(), QString::fromUtf8(l.text));
        EXPECT_EQ(l.label->pos(), l.place) << l.text;
    }
    EXPECT_EQ(propos.Label3->text(), QStringLiteral("support@quirelle.invalid"));
    EXPECT_EQ(propos.Label3->y(), 90);
    // At 105, or further right when the caption before it is wider in this font.
    EXPECT_GE(propos.Label3->x(), 105);
    EXPECT_FALSE(propos.Label3->geometry().intersects(propos.Label2->geometry()));
    EXPECT_TRUE(propos.Label1->font().underline());
    for (QLabel *link :
         {static_cast<QLabel *>(propos.Label3), static_cast<QLabel *>(propos.Label5)}) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(propos.Image1->geometry(), QRect(30, 30, 32, 32));
    EXPECT_FALSE(propos.Image1->pixmap().isNull()) << "the icon is stored with the program";
    EXPECT_EQ(propos.Button1->text(), QStringLiteral("OK"));
    EXPECT_EQ(propos.Button1->geometry(), QRect(90, 160, 75, 25));
}

TEST(AboutBox, LinksOpenMailAndWebPage)
{
    Program program;
    TPropos &propos = program.forms.Propos;
    propos.show();
    QTest::mouseClick(propos.Label3, Qt::LeftButton);
    QTest::mouseClick(propos.Label5, Qt::LeftButton);
    EXPECT_EQ(program.links.opened,
              (QStringList{QStringLiteral("mailto:support@quirelle.invalid?subject=Quirelle"),
                           QStringLiteral("https://quirelle.invalid/")}));
}

TEST(AboutBox, MenuShowsItModallyAndOkClosesIt)
{
    Program program;
    program.forms.Form1.show();
    QWidget *modal = nullptr;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget();
        QTest::mouseClick(program.forms.Propos.Button1, Qt::LeftButton);
    });
    program.forms.Form1.N3->trigger();
    EXPECT_EQ(modal, &program.forms.Propos);
    EXPECT_FALSE(program.forms.Propos.isVisible());
}
