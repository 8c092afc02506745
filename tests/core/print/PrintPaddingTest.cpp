#include "app/core/print/PrintPadding.h"

#include "tests/core/print/PrintFixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintPadding, AddsBlankPagesBeforeTheBackCovers)
{
    struct Case {
        const char *layout;
        int pages, backCovers;
        std::vector<QString> expected;
    };
    const Case cases[] = {
        {"A4", 8, 1, Texts({"P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8", "Ajout 1", "Q1"})},
        {"A5", 11, 2,
         Texts({"P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8", "P9", "P10", "P11", "Ajout1",
                "Ajout2", "Ajout3", "Q1", "Q2"})},
        {"A4", 9, 0, Texts({"P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8", "P9", "Ajout 1"})},
        {"A5", 5, 0, Texts({"P1", "P2", "P3", "P4", "P5", "Ajout1", "Ajout2", "Ajout3"})},
        {"A4", 3, 1, Texts({"P1", "P2", "P3", "Q1"})},
        {"A5", 6, 2, Texts({"P1", "P2", "P3", "P4", "P5", "P6", "Q1", "Q2"})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " " + std::to_string(c.pages) + "+" +
                     std::to_string(c.backCovers));
        PrintState state = BookState(c.pages, c.backCovers);
        state.BlankCount = 2;
        const int length = c.pages + c.backCovers;
        const auto added = static_cast<int>(c.expected.size()) - length;

        EXPECT_EQ(PadPageList(state, QString::fromLatin1(c.layout)), added);
        EXPECT_EQ(PageNames(state), c.expected);
        EXPECT_EQ(state.PageCountCache, length + added);
        EXPECT_EQ(state.BlankCount, 2 + added);
        for (int k = c.pages; k < c.pages + added; ++k)
            EXPECT_EQ(state.PageList[k].Image, -1);
        for (int k = 0; k < c.backCovers; ++k)
            EXPECT_EQ(state.PageList[c.pages + added + k].Image, c.pages + k);
    }
}

TEST(PrintPadding, ALaterLayoutAddsOnlyWhatItStillLacks)
{
    PrintState state = BookState(9, 0);
    PadPageList(state, QStringLiteral("A4"));
    PadPageList(state, QStringLiteral("A5"));
    EXPECT_EQ(PageNames(state), Texts({"P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8", "P9",
                                       "Ajout 1", "Ajout1", "Ajout2"}));
    EXPECT_EQ(state.PageCountCache, 12);
    EXPECT_EQ(PadPageList(state, QStringLiteral("A4")), 0);
}

TEST(PrintPadding, MoreBackCoversThanPagesPutsTheBlanksFirst)
{
    PrintState state = BookState(3, 0);
    state.QuatrsCount = 7;
    PadPageList(state, QStringLiteral("A4"));
    EXPECT_EQ(PageNames(state), Texts({"Ajout 1", "P1", "P2", "P3"}));
}

} // namespace
