// The print commands of the main window, on a book opened with Charge and printed to PDF.
#include "app/Marges.h"
#include "app/Unit1.h"

#include "tests/app/WindowFixture.h"
#include "tests/support/BookFixture.h"
#include "tests/support/RunTool.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

// The main window with a book of `pages` pages open, each a picture of its own colour.
struct PrintWindow : Window {
    QString pdf = QString::fromStdString((dir / "Livre.pdf").string());

    explicit PrintWindow(int pages)
    {
        std::vector<Bytes> records;
        for (int k = 0; k < pages; ++k)
            records.push_back(MakeJpeg(60, 80, QColor::fromHsv(k * 30, 255, 200)));
        WriteFileBytes(dir / "Livre.bd", AssembleBook(records));
        form.Charge(QString::fromStdString((dir / "Livre.bd").string()));
        prompter.messages.clear();
    }

    // Runs the command; whileMarginsShown runs while the margins dialog is open, which is then
    // closed with "Valider".
    void print(const std::function<void()> &command,
               const std::function<void()> &whileMarginsShown = {})
    {
        TForm2 &margins = form.marginsDialog();
        QTimer::singleShot(0, &margins, [&margins, whileMarginsShown] {
            if (whileMarginsShown)
                whileMarginsShown();
            margins.Valider->click();
        });
        command();
    }

    bool printed(int pass) const
    {
        return std::filesystem::exists(dir / ("Livre-" + std::to_string(pass) + ".pdf"));
    }
};

int PdfPages(const std::filesystem::path &pdf)
{
    const QString info =
        ToolOutput(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf.string())})
            .value_or(QString());
    const qsizetype at = info.indexOf(QLatin1String("Pages:"));
    return at < 0 ? -1 : info.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

TEST(PrintCommands, A5BookletFromTheMenuPrintsBothPasses)
{
    PrintWindow w(6);
    w.dialogs.choose({w.pdf});
    w.prompter.answer(MessageAnswer::Yes);
    w.print([&] { w.form.A51->trigger(); });

    ASSERT_EQ(w.dialogs.requests.size(), 1u);
    EXPECT_EQ(w.dialogs.requests[0].kind, ScriptedDialogs::Kind::Print);
    EXPECT_EQ(w.form.state.PageList.size(), 8u);
    EXPECT_EQ(w.form.state.PageList.back().Name, QStringLiteral("Ajout2"));
    EXPECT_EQ(PdfPages(w.dir / "Livre-1.pdf"), 2);
    EXPECT_EQ(PdfPages(w.dir / "Livre-2.pdf"), 2);
    ASSERT_EQ(w.prompter.messages.size(), 4u);
    EXPECT_TRUE(w.prompter.messages[0].text.endsWith(QStringLiteral("en mode paysage.")));
}

TEST(PrintCommands, CancelledPrintDialogPrintsNothing)
{
    PrintWindow w(5);
    w.dialogs.cancel();
    w.form.A41Click();
    EXPECT_EQ(w.prompter.messages.size(), 1u);
    EXPECT_FALSE(w.form.marginsDialog().isVisible());
    EXPECT_EQ(w.form.state.PageList.size(), 5u);
    EXPECT_EQ(w.form.state.PageCountCache, 5);
    EXPECT_FALSE(w.printed(1));
}

TEST(PrintCommands, OpeningAndPrintingAreHeldBackWhilePrinting)
{
    PrintWindow w(4);
    w.dialogs.choose({w.pdf});
    w.prompter.answer(MessageAnswer::Yes);
    bool openEnabled = true, printEnabled = true;
    w.print([&] { w.form.A41Click(); },
            [&] {
                openEnabled = w.form.Ouvrir1->isEnabled();
                printEnabled = w.form.Imprimer1->menuAction()->isEnabled();
            });
    EXPECT_FALSE(openEnabled);
    EXPECT_FALSE(printEnabled);
    EXPECT_TRUE(w.form.Ouvrir1->isEnabled());
    EXPECT_TRUE(w.form.Imprimer1->menuAction()->isEnabled());
    EXPECT_TRUE(w.printed(2));
}

TEST(PrintCommands, MarginsCarryOverToTheNextPrint)
{
    PrintWindow w(4);
    w.dialogs.choose({w.pdf});
    w.print([&] { w.form.A51Click(); }, [&] { w.form.marginsDialog().Haut->setValue(30); });
    EXPECT_TRUE(w.form.marginsDialog().Milieu->isEnabled());
    w.dialogs.choose({w.pdf});
    int shown = 0;
    w.print([&] { w.form.A41Click(); }, [&] { shown = w.form.marginsDialog().Haut->value(); });
    EXPECT_EQ(shown, 30);
    EXPECT_FALSE(w.form.marginsDialog().Milieu->isEnabled());
}

} // namespace
