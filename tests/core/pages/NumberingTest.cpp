#include "app/core/pages/Numbering.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct LabelCase {
    std::int32_t index;
    std::int32_t total;
    NumberingKind kind;
    const char *start;
    const char *expected;
};

void PrintTo(const LabelCase &c, std::ostream *os)
{
    *os << c.index << " kind " << int(c.kind) << " -> " << c.expected;
}

class LabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelTest, FormatsTheCounter)
{
    const LabelCase &c = GetParam();
    QString label = QStringLiteral("before");
    FormatPageNumber(c.index, c.total, c.kind, QString::fromLatin1(c.start), label);
    EXPECT_EQ(label.toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LabelTest,
    ::testing::Values(LabelCase{0, 1, 0, "1", "1"}, LabelCase{0, 1, 1, "A", "A"},
                      LabelCase{0, 1, 2, "a", "a"}, LabelCase{0, 1, 3, "0", "I"},
                      LabelCase{0, 1, 4, "0", "i"}, LabelCase{25, 1, 1, "A", "Z"},
                      LabelCase{26, 1, 1, "A", "AA"}, LabelCase{27, 1, 2, "a", "ab"},
                      LabelCase{701, 1, 1, "A", "ZZ"}, LabelCase{702, 1, 1, "A", "AAA"},
                      LabelCase{13, 1, 4, "0", "xiv"}, LabelCase{3998, 1, 3, "0", "MMMCMXCIX"},
                      LabelCase{3999, 1, 3, "0", "MMMM"}, LabelCase{8999, 1, 3, "0", "MMMMMMMMM"},
                      LabelCase{4, 100, 0, "1", "005"}, LabelCase{4, 1, 0, "1", "5"},
                      // Past the numeral tables and past 32-bit letter arithmetic.
                      LabelCase{12344, 1, 3, "0", "MMMMMMMMMMMMCCCXLV"},
                      LabelCase{std::numeric_limits<std::int32_t>::max(), 1, 1, "A", "FXSHRXX"},
                      LabelCase{std::numeric_limits<std::int32_t>::max(), 1, 0, "1", "2147483648"},
                      // Kind 5 and above leave the text as it was.
                      LabelCase{3, 1, 5, "1", "before"}, LabelCase{3, 1, 200, "1", "before"}));

TEST(ToRoman, ZeroAndNegativeGiveTheEmptyText)
{
    EXPECT_EQ(ToRoman(0), QString());
    EXPECT_EQ(ToRoman(-4), QString());
    EXPECT_EQ(ToRoman(1994), QStringLiteral("MCMXCIV"));
}

TEST(CountDivisions, CountsTruncatingDivisions)
{
    EXPECT_EQ(CountDivisions(1, 10), 0);
    EXPECT_EQ(CountDivisions(100, 10), 2);
    EXPECT_EQ(CountDivisions(-999, 10), 2);
    // A base that never brings the quotient to 0 ends at once.
    EXPECT_EQ(CountDivisions(100, 0), 0);
    EXPECT_EQ(CountDivisions(100, 1), 0);
}

// One page of a placement case: its constraint (kind, value), or none.
using Page = std::optional<std::pair<int, std::int32_t>>;

struct PlacementCase {
    const char *name;
    PlacementPolicy policy;
    std::vector<Page> pages;
    std::optional<int> closeWithBackCovers; // close the interior after the pages
    const char *expected;                   // labels, blank pages in brackets
    int conflicts;
};

void PrintTo(const PlacementCase &c, std::ostream *os)
{
    *os << c.name;
}

std::string describe(const NumberingRun &run)
{
    std::string text;
    for (const PageEntry &slot : run.entries()) {
        if (!text.empty())
            text += ' ';
        const std::string label = slot.Name.toStdString();
        text += slot.isBlank() ? "[" + label + "]" : label;
    }
    return text;
}

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, PlacesPagesAndBlanks)
{
    const PlacementCase &c = GetParam();
    CurrentType = 4; // left over from an earlier run: a new run starts in decimal
    NumberingRun run(c.policy);
    int conflicts = 0;
    std::int32_t item = 0;
    for (const Page &page : c.pages) {
        NumberingConstraint constraint;
        if (page) {
            constraint.Kind = static_cast<NumberingKind>(page->first);
            constraint.Value = page->second;
        }
        run.placePage(item++, page ? &constraint : nullptr, [&] { ++conflicts; });
    }
    if (c.closeWithBackCovers)
        run.closeInterior(*c.closeWithBackCovers, !c.pages.empty());
    EXPECT_EQ(describe(run), c.expected);
    EXPECT_EQ(conflicts, c.conflicts);
    int blanks = 0;
    for (const PageEntry &slot : run.entries())
        blanks += slot.isBlank();
    EXPECT_EQ(run.blankCount(), blanks);
}

constexpr std::int32_t Left = LeftPageBit;
constexpr std::int32_t Right = RightPageBit;
const Page none;

INSTANTIATE_TEST_SUITE_P(
    Rule, PlacementTest,
    ::testing::Values(
        PlacementCase{"RightOnFirstPage", PageListPolicy, {{{5, Right}}}, {}, "1", 0},
        PlacementCase{"LeftOnFirstPage", PageListPolicy, {{{5, Left}}}, {}, "[1] 2", 0},
        PlacementCase{"KindChangeAfterOddCount",
                      PageListPolicy,
                      {none, none, none, {{4, 0xFFFFFF}}},
                      {},
                      "1 2 3 [4] i",
                      0},
        PlacementCase{"KindChangeAfterEvenCount",
                      PageListPolicy,
                      {none, none, none, none, {{4, 0xFFFFFF}}},
                      {},
                      "1 2 3 4 i",
                      0},
        PlacementCase{"ImposedCounterAhead",
                      PageListPolicy,
                      {none, none, none, none, {{5, 9}}},
                      {},
                      "1 2 3 4 [5] [6] [7] [8] [9] 10",
                      0},
        PlacementCase{"ImposedCounterBehind",
                      PageListPolicy,
                      {none, none, none, none, {{5, 2}}},
                      {},
                      "1 2 3 4 5",
                      1},
        PlacementCase{"ImposedCounterWithSideAlreadyRight",
                      PageListPolicy,
                      {none, none, {{5, 4 | Right}}},
                      {},
                      "1 2 [3] [4] 5",
                      0},
        PlacementCase{"ImposedCounterBeyondLimit",
                      PageListPolicy,
                      {none, {{5, MaxImposedCounter + 1}}},
                      {},
                      "1 2",
                      1},
        PlacementCase{"KindAboveFiveKeepsTheKind",
                      PageListPolicy,
                      {none, {{7, 0xFFFFFF}}, {{250, 0}}},
                      {},
                      "1 2 3",
                      0},
        // Imposed counter 4 (label 5) with "A gauche" on the first page.
        PlacementCase{
            "SideConflictPageList", PageListPolicy, {{{5, 4 | Left}}}, {}, "[1] [2] [3] [4] 5", 1},
        PlacementCase{"SideConflictPreview",
                      PreviewPolicy,
                      {{{5, 4 | Left}}},
                      {},
                      "[1] [2] [3] [4] [5] 6",
                      1},
        PlacementCase{"MinusOnePageListOnlyKind", PageListPolicy, {none, {{5, -1}}}, {}, "1 2", 0},
        PlacementCase{"MinusOnePreviewAtEvenCount",
                      PreviewPolicy,
                      {none, none, {{5, -1}}},
                      {},
                      "1 2 [3] [4] 5",
                      1},
        PlacementCase{
            "MinusOnePreviewAtOddCount", PreviewPolicy, {none, {{5, -1}}}, {}, "1 [2] 3", 1},
        PlacementCase{
            "CloseThreePagesNoBackCover", PageListPolicy, {none, none, none}, 0, "1 2 3 [4]", 0},
        PlacementCase{"CloseFourPagesNoBackCover",
                      PageListPolicy,
                      {none, none, none, none},
                      0,
                      "1 2 3 4 [5] [6]",
                      0},
        PlacementCase{"CloseFivePagesTwoBackCovers",
                      PageListPolicy,
                      {none, none, none, none, none},
                      2,
                      "1 2 3 4 5 [6]",
                      0},
        PlacementCase{"CloseNoPageOneBackCover", PreviewPolicy, {}, 1, "[1]", 0},
        // The odd test sees the roman counter alone: 1 decimal + 1 roman page.
        PlacementCase{"CloseTestsTheCurrentKindAlone",
                      PreviewPolicy,
                      {none, {{3, 0xFFFFFF}}},
                      0,
                      "1 [2] I [II]",
                      0}),
    [](const ::testing::TestParamInfo<PlacementCase> &caseInfo) { return caseInfo.param.name; });

TEST(NumberingRun, HonoursAnImposedCounterUpToTheLimit)
{
    NumberingRun run(PageListPolicy);
    NumberingConstraint last{0, 3, MaxImposedCounter};
    run.placePage(0, &last, [] { FAIL() << "no conflict expected"; });
    EXPECT_EQ(run.blankCount(), MaxImposedCounter);
    EXPECT_EQ(run.entries().back().Name, ToRoman(MaxImposedCounter + 1));
}

TEST(NumberingRun, LeavesCurrentTypeAtTheLastKindUsed)
{
    NumberingRun run(PageListPolicy);
    NumberingConstraint roman{0, 3, 0xFFFFFF};
    run.placePage(0, &roman, [] {});
    EXPECT_EQ(CurrentType, 3);
    NumberingRun next(PreviewPolicy);
    EXPECT_EQ(CurrentType, 0);
}

} // namespace
