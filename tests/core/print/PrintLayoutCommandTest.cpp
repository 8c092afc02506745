#include "app/core/print/PrintLayoutCommand.h"

#include "tests/core/print/PrintFixtures.h"
#include "tests/support/RecordingPrintTarget.h"
#include "tests/support/RecordingPrompter.h"

#include <gtest/gtest.h>

namespace {

const QString SelectPortrait = QStringLiteral(
    "Veuillez sélectionner l'imprimante qui sera utilisée. Choisir un format A4 en mode portrait.");
const QString SelectLandscape = QStringLiteral(
    "Veuillez sélectionner l'imprimante qui sera utilisée. Choisir un format A4 en mode paysage.");

struct CommandFixture {
    PrintState state;
    RecordingPrompter prompter;
    RecordingPrintTarget target;
    FakeMarginsDialog margins{state, target};
    int printDialogs = 0;
    bool printDialogAccepted = true;
    LayoutCommandEnv env{{prompter, target, LabelledPages({1200, 1600})}, margins, [this] {
                             ++printDialogs;
                             return printDialogAccepted;
                         }};

    CommandFixture(int pages, int backCovers) : state(BookState(pages, backCovers))
    {
        target.printer = ExamplePrinter(PaperOrientation::Portrait);
    }

    void run(const char *layout)
    {
        const bool a5 = QLatin1String(layout) == QLatin1String("A5");
        target.printer =
            ExamplePrinter(a5 ? PaperOrientation::Landscape : PaperOrientation::Portrait);
        if (PrepareLayout(state, QString::fromLatin1(layout), env))
            RunPrintJob(state, env.job);
    }

    // Each recorded sheet side as "left|right" (A5) or "page" (A4), by the images' labels.
    std::vector<std::vector<QString>> sides() const
    {
        std::vector<std::vector<QString>> result;
        for (const RecordingPrintTarget::Document &document : target.documents) {
            std::vector<QString> pass;
            for (const auto &page : document.pages) {
                QString left, right;
                for (const RecordingPrintTarget::Drawing &drawing : page) {
                    EXPECT_TRUE(drawing.rect == state.PrintRect1 ||
                                drawing.rect == state.PrintRect2);
                    (drawing.rect == state.PrintRect1 ? left : right) = LabelOf(drawing.image);
                }
                pass.push_back(state.PrintLayout == QLatin1String("A5") ? left + u'|' + right
                                                                        : left);
            }
            result.push_back(pass);
        }
        return result;
    }
};

// Blank pages and missing positions print as empty places: "|p3" has nothing on the left.
TEST(PrintLayoutCommand, RecordedPrintOperations)
{
    struct Case {
        const char *layout;
        int pages, backCovers, answer; // answer 0: "Non" three times
        std::vector<QString> pass1, pass2;
    };
    const Case cases[] = {
        {"A4", 4, 0, 1, Texts({"p1", "p3"}), Texts({"p2", "p4"})},
        {"A4", 4, 0, 2, Texts({"p4", "p2"}), Texts({"p1", "p3"})},
        {"A4", 4, 0, 3, Texts({"p2", "p4"}), Texts({"p3", "p1"})},
        {"A4", 8, 0, 2, Texts({"p8", "p6", "p4", "p2"}), Texts({"p1", "p3", "p5", "p7"})},
        {"A4", 12, 0, 3, Texts({"p2", "p4", "p6", "p8", "p10", "p12"}),
         Texts({"p11", "p9", "p7", "p5", "p3", "p1"})},
        // 4 pages and a back cover: page 5 is the blank "Ajout 1", page 6 the back cover.
        {"A4", 4, 1, 1, Texts({"p1", "p3", ""}), Texts({"p2", "p4", "p5"})},
        {"A5", 4, 0, 1, Texts({"p4|p1"}), Texts({"p2|p3"})},
        {"A5", 4, 0, 2, Texts({"p2|p3"}), Texts({"p4|p1"})},
        {"A5", 4, 0, 3, Texts({"p2|p3"}), Texts({"p4|p1"})},
        {"A5", 8, 0, 1, Texts({"p8|p1", "p6|p3"}), Texts({"p2|p7", "p4|p5"})},
        {"A5", 8, 0, 2, Texts({"p4|p5", "p2|p7"}), Texts({"p8|p1", "p6|p3"})},
        {"A5", 8, 0, 3, Texts({"p2|p7", "p4|p5"}), Texts({"p6|p3", "p8|p1"})},
        {"A5", 12, 0, 1, Texts({"p12|p1", "p10|p3", "p8|p5"}), Texts({"p2|p11", "p4|p9", "p6|p7"})},
        {"A5", 12, 0, 2, Texts({"p6|p7", "p4|p9", "p2|p11"}), Texts({"p12|p1", "p10|p3", "p8|p5"})},
        {"A5", 12, 0, 3, Texts({"p2|p11", "p4|p9", "p6|p7"}), Texts({"p8|p5", "p10|p3", "p12|p1"})},
        // 5 pages and a back cover: blanks as pages 6 and 7, the back cover as page 8.
        {"A5", 5, 1, 1, Texts({"p6|p1", "|p3"}), Texts({"p2|", "p4|p5"})},
        {"A5", 8, 0, 0, {}, {}},
        {"A4", 4, 0, 0, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.layout << ' ' << c.pages << '+' << c.backCovers
                                        << " answer " << c.answer);
        CommandFixture f(c.pages, c.backCovers);
        for (int k = 1; k < c.answer; ++k)
            f.prompter.answer(MessageAnswer::No);
        if (c.answer > 0)
            f.prompter.answer(MessageAnswer::Yes);
        f.run(c.layout);

        const bool a5 = QLatin1String(c.layout) == QLatin1String("A5");
        EXPECT_EQ(f.target.orientations,
                  std::vector{a5 ? PaperOrientation::Landscape : PaperOrientation::Portrait});
        EXPECT_EQ(f.margins.middleEnabled, a5);
        EXPECT_EQ(f.margins.shown, 1);
        if (c.answer == 0) {
            EXPECT_TRUE(f.target.documents.empty());
            continue;
        }
        ASSERT_EQ(f.target.documents.size(), 2u);
        for (int pass = 1; pass <= 2; ++pass) {
            EXPECT_EQ(f.target.documents[pass - 1].pass, pass);
            EXPECT_TRUE(f.target.documents[pass - 1].ended);
        }
        EXPECT_EQ(f.sides(), (std::vector{c.pass1, c.pass2}));
    }
}

TEST(PrintLayoutCommand, SetsUpMarginsRectanglesAndMessages)
{
    struct Case {
        const char *layout;
        QString select;
        MarginDots dots;
        QSize shown;
        PrintRect rect1, rect2;
    };
    const Case cases[] = {
        {"A4", SelectPortrait, {472, 471, 943}, {4017, 6073}, {371, 730, 4388, 6086}, {}},
        {"A5",
         SelectLandscape,
         {471, 472, 943},
         {2565, 4017},
         {372, 671, 2936, 4090},
         {3879, 671, 6443, 4090}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.layout);
        CommandFixture f(8, 0);
        f.run(c.layout);
        EXPECT_EQ(f.state.PrintLayout, QString::fromLatin1(c.layout));
        EXPECT_EQ(f.printDialogs, 1);
        EXPECT_EQ(f.prompter.texts().front(), c.select);
        EXPECT_EQ(f.margins.minima.Haut, 4);
        EXPECT_EQ(f.margins.minima.Gauche, 4);
        EXPECT_EQ(f.margins.shownImageSize, c.shown);
        EXPECT_EQ(f.state.MarginTopDots, c.dots.top);
        EXPECT_EQ(f.state.MarginLeftDots, c.dots.left);
        EXPECT_EQ(f.state.MarginMiddleDots, c.dots.middle);
        EXPECT_EQ(f.state.PrintRect1, c.rect1);
        EXPECT_EQ(f.state.PrintRect2, c.rect2);
    }
}

TEST(PrintLayoutCommand, UnequalResolutionsWarnAndPrintAnyway)
{
    CommandFixture f(4, 0);
    f.prompter.answer(MessageAnswer::Yes);
    f.target.printer = ExamplePrinter(PaperOrientation::Portrait);
    f.target.printer.LogPixelsY = 300;
    ASSERT_TRUE(PrepareLayout(f.state, QStringLiteral("A4"), f.env));
    RunPrintJob(f.state, f.env.job);
    const std::vector<QString> texts = f.prompter.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[1],
              QStringLiteral("Attention, votre imprimante ne possède pas la même résolution en "
                             "verticale et en horizontale. Il est possible qu'à l'impression, "
                             "l'image soit déformée."));
    EXPECT_EQ(f.prompter.messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(f.target.documents.size(), 2u);
}

TEST(PrintLayoutCommand, CancelledPrintDialogEndsTheCommand)
{
    CommandFixture f(5, 0);
    f.printDialogAccepted = false;
    f.prompter.answer(MessageAnswer::Yes);
    f.run("A5");
    EXPECT_EQ(f.prompter.texts(), std::vector{SelectLandscape});
    EXPECT_EQ(f.margins.shown, 0);
    EXPECT_EQ(f.state.PageList.size(), 5u);
    EXPECT_EQ(f.state.PageCountCache, 5);
    EXPECT_TRUE(f.target.documents.empty());
}

TEST(PrintLayoutCommand, UnusablePrinterEndsTheCommandWithAMessage)
{
    struct Case {
        PrinterGeometry printer;
        QString message;
    };
    PrinterGeometry zeroSize = ExamplePrinter(PaperOrientation::Portrait);
    zeroSize.HorzSize = 0;
    const Case cases[] = {
        {PrinterGeometry{}, QStringLiteral("Aucune imprimante n'est disponible.")},
        {zeroSize, QStringLiteral("L'imprimante sélectionnée n'indique pas les dimensions de sa "
                                  "page. Veuillez en choisir une autre.")},
    };
    for (const Case &c : cases) {
        CommandFixture f(5, 0);
        f.prompter.answer(MessageAnswer::Yes);
        f.target.printer = c.printer;
        EXPECT_FALSE(PrepareLayout(f.state, QStringLiteral("A4"), f.env));
        EXPECT_EQ(f.prompter.texts(), (std::vector{SelectPortrait, c.message}));
        EXPECT_EQ(f.prompter.messages.back().icon, MessageIcon::Error);
        EXPECT_EQ(f.margins.shown, 0);
        EXPECT_EQ(f.state.PageList.size(), 5u);
        EXPECT_TRUE(f.target.documents.empty());
    }
}

// 2 x 100 + 100 mm leave nothing of the 297 mm across for the two pages.
TEST(PrintLayoutCommand, MarginsWiderThanThePaperEndTheCommandWithAMessage)
{
    CommandFixture f(5, 0);
    f.margins.margins = {20, 100, 100};
    f.prompter.answer(MessageAnswer::Yes);
    f.run("A5");
    EXPECT_EQ(f.prompter.texts(),
              (std::vector{SelectLandscape,
                           QStringLiteral("Les marges sont trop grandes : il ne reste plus de "
                                          "place pour les images.")}));
    EXPECT_EQ(f.prompter.messages.back().icon, MessageIcon::Error);
    EXPECT_EQ(f.state.PageList.size(), 5u);
    EXPECT_TRUE(f.target.documents.empty());
}

TEST(PrintLayoutCommand, ShapeComesFromTheFirstPageWithAPicture)
{
    CommandFixture f(4, 0);
    f.state.PageList.insert(f.state.PageList.begin(), PageEntry{QStringLiteral("1"), -1});
    // Image 0 has no picture either; image 1 is 1000 x 1600 (the height binds).
    f.env.job.loadPage = [](std::int32_t image) -> std::optional<QImage> {
        if (image < 1)
            return image == 0 ? std::optional<QImage>(QImage()) : std::nullopt;
        return QImage(1000, 1600, QImage::Format_RGB32);
    };
    f.run("A4");
    EXPECT_EQ(f.state.PrintRect1, (PrintRect{482, 372, 4278, 6445}));
}

TEST(PrintLayoutCommand, BookWithoutAnyPictureIsNotPrinted)
{
    CommandFixture f(3, 0);
    f.env.job.loadPage = LabelledPages({10, 10}, {0, 1, 2});
    f.run("A5");
    EXPECT_EQ(f.prompter.texts(),
              std::vector{QStringLiteral("Aucune page de ce livre ne contient d'image.")});
    EXPECT_EQ(f.printDialogs, 0);
    EXPECT_EQ(f.state.PageList.size(), 3u);
    EXPECT_TRUE(f.target.documents.empty());
}

} // namespace
