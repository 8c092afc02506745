#include "app/core/print/PrintJob.h"

#include "tests/core/print/PrintFixtures.h"
#include "tests/support/RecordingPrintTarget.h"
#include "tests/support/RecordingPrompter.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const QString Question1 = QStringLiteral(
    "Comme les systèmes de distribution de papier sont variables en fonction du type "
    "d'imprimante, veuillez répondre à cette question :\r\nLorsque les feuilles sont au repos "
    "(avant l'impression), la surface qui va être imprimée est-elle au dessus? Lorsque les "
    "feuilles sont imprimées (après l'impression) la surface qui est imprimée est-elle au "
    "dessus? Si ces 2 conditions sont respectées, cliquez sur Oui.");
const QString Question2 = QStringLiteral(
    "Lorsque les feuilles sont au repos (avant l'impression), la surface qui va être imprimée "
    "est-elle au dessus? Lorsque les feuilles sont imprimées (après l'impression) la surface "
    "qui est imprimée est-elle au dessous? Si ces 2 conditions sont respectées, cliquer sur "
    "Oui.");
const QString Question3 = QStringLiteral(
    "Lorsque les feuilles sont au repos (avant l'impression), la surface qui va être imprimée "
    "est-elle au dessous? Lorsque les feuilles sont imprimées (après l'impression) la surface "
    "qui est imprimée est-elle au dessus? Si ces 2 conditions sont respectées, cliquer sur "
    "Oui.");
const QString CoverFirst = QStringLiteral(
    "Si vous utilisez une feuille plus épaisse pour la couverture, il faut la mettre en "
    "première position.\r\nMettre les feuilles de telle sorte que l'imprimante imprime sur le "
    "recto.");
const QString CoverLast = QStringLiteral(
    "Si vous utilisez une feuille plus épaisse pour la couverture, il faut la mettre en "
    "dernière position.\r\nMettre les feuilles de telle sorte que l'imprimante imprime sur le "
    "recto.");
const QString WaitThenTurn = QStringLiteral(
    "Attendre que toutes les feuilles soit imprimées. Mettre les feuilles de telle sorte que "
    "l'imprimante imprime sur le verso.");
const QString Turn =
    QStringLiteral("Mettre les feuilles de telle sorte que l'imprimante imprime sur le verso.");

using Sides = std::vector<SheetSide>;

TEST(PrintJob, SheetOrderOfEachPaperPath)
{
    struct Case {
        PaperPath path;
        bool a5;
        std::int32_t pages;
        Sides pass1, pass2;
    };
    const auto P1 = PaperPath::FaceUpFaceUp, P2 = PaperPath::FaceUpFaceDown,
               P3 = PaperPath::FaceDownFaceUp;
    const Case cases[] = {
        {P1, true, 8, {{8, 1}, {6, 3}}, {{2, 7}, {4, 5}}},
        {P2, true, 8, {{4, 5}, {2, 7}}, {{8, 1}, {6, 3}}},
        {P3, true, 8, {{2, 7}, {4, 5}}, {{6, 3}, {8, 1}}},
        {P1, true, 4, {{4, 1}}, {{2, 3}}},
        {P2, true, 4, {{2, 3}}, {{4, 1}}},
        {P3, true, 4, {{2, 3}}, {{4, 1}}},
        {P1, false, 4, {{1, 0}, {3, 0}}, {{2, 0}, {4, 0}}},
        {P2, false, 4, {{4, 0}, {2, 0}}, {{1, 0}, {3, 0}}},
        {P3, false, 4, {{2, 0}, {4, 0}}, {{3, 0}, {1, 0}}},
        {P1, true, 0, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "answer " << static_cast<int>(c.path)
                                        << (c.a5 ? " A5 " : " A4 ") << c.pages);
        EXPECT_EQ(SheetSides(c.path, 1, c.a5, c.pages), c.pass1);
        EXPECT_EQ(SheetSides(c.path, 2, c.a5, c.pages), c.pass2);
    }
}

// A5 layout set up by hand: 6 pages, rectangles apart so that each drawing tells its side.
struct JobFixture {
    PrintState state = BookState(6, 0);
    RecordingPrompter prompter;
    RecordingPrintTarget target;
    PrintJobEnv env{prompter, target, LabelledPages({12, 16})};

    JobFixture()
    {
        state.PrintLayout = QStringLiteral("A5");
        state.PrintRect1 = {0, 0, 10, 10};
        state.PrintRect2 = {20, 0, 30, 10};
    }
};

TEST(PrintJob, MessagesOfEachAnswer)
{
    struct Case {
        std::vector<MessageAnswer> answers;
        std::vector<QString> messages;
        int documents;
    };
    const auto Y = MessageAnswer::Yes, N = MessageAnswer::No;
    const Case cases[] = {
        {{Y}, {Question1, CoverFirst, WaitThenTurn}, 2},
        {{N, Y}, {Question1, Question2, CoverLast, WaitThenTurn}, 2},
        {{N, N, Y}, {Question1, Question2, Question3, CoverFirst, Turn}, 2},
        {{N, N, N}, {Question1, Question2, Question3}, 0},
    };
    for (const Case &c : cases) {
        JobFixture f;
        for (MessageAnswer a : c.answers)
            f.prompter.answer(a);
        RunPrintJob(f.state, f.env);
        EXPECT_EQ(f.prompter.texts(), c.messages);
        EXPECT_EQ(f.target.documents.size(), static_cast<std::size_t>(c.documents));
        for (std::size_t k = 0; k < f.prompter.messages.size(); ++k) {
            const bool question = k < c.answers.size();
            EXPECT_EQ(f.prompter.messages[k].icon, MessageIcon::Information);
            EXPECT_EQ(f.prompter.messages[k].buttons,
                      question ? MessageButtons::YesNo : MessageButtons::Ok);
        }
    }
}

TEST(PrintJob, WithoutLayoutAsksForOneAndPrintsNothing)
{
    JobFixture f;
    f.state.PrintLayout.clear();
    f.prompter.answer(MessageAnswer::Yes);
    RunPrintJob(f.state, f.env);
    EXPECT_EQ(f.prompter.texts(),
              std::vector<QString>{
                  QStringLiteral("Veuillez sélectionner la disposition des images (A4 ou A5).")});
    EXPECT_TRUE(f.target.documents.empty());
}

TEST(PrintJob, PagesBeyondTheListPrintAsEmptyPlaces)
{
    JobFixture f; // 6 entries: N = 8, pages 7 and 8 do not exist
    f.prompter.answer(MessageAnswer::Yes);
    RunPrintJob(f.state, f.env);
    EXPECT_EQ(f.state.PrintPageCount, 8);
    ASSERT_EQ(f.target.documents.size(), 2u);
    const auto &pass1 = f.target.documents[0].pages; // (8, 1), (6, 3)
    ASSERT_EQ(pass1.size(), 2u);
    ASSERT_EQ(pass1[0].size(), 1u);
    EXPECT_EQ(LabelOf(pass1[0][0].image), QStringLiteral("p1"));
    EXPECT_EQ(pass1[0][0].rect, f.state.PrintRect2);
    ASSERT_EQ(pass1[1].size(), 2u);
    EXPECT_EQ(LabelOf(pass1[1][0].image), QStringLiteral("p6"));
    EXPECT_EQ(pass1[1][0].rect, f.state.PrintRect1);
    const auto &pass2 = f.target.documents[1].pages; // (2, 7), (4, 5)
    ASSERT_EQ(pass2[0].size(), 1u);
    EXPECT_EQ(LabelOf(pass2[0][0].image), QStringLiteral("p2"));
    EXPECT_EQ(pass2[0][0].rect, f.state.PrintRect1);
}

// The window closes while the first pass prints (the program is ending): that pass is
// printed whole and the second is not begun.
TEST(PrintJob, WindowClosedDuringTheFirstPassEndsTheJobAfterIt)
{
    JobFixture f;
    f.state.CurrentFile = QStringLiteral("livre.bd");
    f.prompter.answer(MessageAnswer::Yes);
    const PageLoader pages = f.env.loadPage;
    f.env.loadPage = [&f, pages](std::int32_t image) {
        f.state.CurrentFile.clear();
        return pages(image);
    };
    RunPrintJob(f.state, f.env);
    ASSERT_EQ(f.target.documents.size(), 1u);
    EXPECT_TRUE(f.target.documents[0].ended);
    EXPECT_EQ(f.target.documents[0].pages.size(), 2u);
    EXPECT_EQ(f.prompter.texts(), (std::vector<QString>{Question1, CoverFirst}));
}

TEST(PrintJob, PrinterErrorAbortsThePassAndEndsTheJobWithAMessage)
{
    JobFixture f;
    f.prompter.answer(MessageAnswer::Yes);
    f.target.failAtDrawing = 2; // second side of pass 1
    RunPrintJob(f.state, f.env);
    ASSERT_EQ(f.target.documents.size(), 1u);
    EXPECT_TRUE(f.target.documents[0].aborted);
    EXPECT_FALSE(f.target.documents[0].ended);
    ASSERT_EQ(f.prompter.messages.size(), 3u);
    EXPECT_EQ(f.prompter.messages.back().text, QStringLiteral("Erreur d'impression simulée."));
    EXPECT_EQ(f.prompter.messages.back().icon, MessageIcon::Error);
}

TEST(PrintJob, OtherErrorsAbortThePassAndPropagate)
{
    JobFixture f;
    f.prompter.answer(MessageAnswer::Yes);
    f.env.loadPage = [](std::int32_t) -> std::optional<QImage> {
        throw std::runtime_error("décodage");
    };
    EXPECT_THROW(RunPrintJob(f.state, f.env), std::runtime_error);
    ASSERT_EQ(f.target.documents.size(), 1u);
    EXPECT_TRUE(f.target.documents[0].aborted);
}

} // namespace
