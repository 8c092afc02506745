#include "app/core/creation/CreationPreview.h"

#include <gtest/gtest.h>

namespace {

// Files are "/bd/<name>.jpg"; a row shows "<name>.jpg", so rows are written with the name.
QString file(const char *name)
{
    return QStringLiteral("/bd/%1.jpg").arg(QLatin1String(name));
}

QStringList files(const std::vector<const char *> &names)
{
    QStringList list;
    for (const char *name : names)
        list << file(name);
    return list;
}

// "1 a|2 Page blanche" ...: the row texts joined by '|', with ".jpg" left out.
QString joined(const QStringList &texts)
{
    return QStringList(texts).replaceInStrings(QStringLiteral(".jpg"), QString()).join('|');
}

constexpr std::int32_t Left = LeftPageBit;
constexpr std::int32_t Right = RightPageBit;
constexpr std::int32_t None = ImposedCounterMask;

struct Constraint {
    const char *file;
    NumberingKind kind;
    std::int32_t value;
};

struct PreviewCase {
    const char *name;
    std::vector<const char *> pages;
    std::vector<const char *> quatrs;
    std::vector<Constraint> constraints;
    const char *pageRows;
    const char *quatrRows;
    std::vector<const char *> conflicts;
    bool quatrsUsed = true;
};

void PrintTo(const PreviewCase &c, std::ostream *os)
{
    *os << c.name;
}

class PreviewTest : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewTest, NumbersTheRowsAsTheBookWillBe)
{
    const PreviewCase &c = GetParam();
    CreationConstraintList constraints;
    for (const Constraint &constraint : c.constraints)
        constraints.push_back({file(constraint.file), constraint.kind, constraint.value});
    const QStringList pages = files(c.pages), quatrs = files(c.quatrs);

    const CreationPreview preview = PreviewNumbering(pages, quatrs, c.quatrsUsed, constraints);

    EXPECT_EQ(joined(preview.PageTexts), QLatin1String(c.pageRows));
    EXPECT_EQ(joined(preview.QuatrTexts), QLatin1String(c.quatrRows));
    EXPECT_EQ(preview.Conflicts, files(c.conflicts));
    EXPECT_EQ(preview.CreateEnabled, c.conflicts.empty());
    // Each row map matches its rows: -1 exactly on the blank rows, every file once, in order.
    const auto checkRows = [](const QStringList &texts, const std::vector<std::int32_t> &rows,
                              const QStringList &names) {
        ASSERT_EQ(rows.size(), std::size_t(texts.size()));
        std::int32_t next = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const bool blank = texts[qsizetype(i)].endsWith(QStringLiteral(" Page blanche"));
            EXPECT_EQ(rows[i] == -1, blank) << i;
            if (!blank) {
                EXPECT_EQ(rows[i], next) << i;
                EXPECT_TRUE(texts[qsizetype(i)].endsWith(names[next++].mid(4))) << i;
            }
        }
        EXPECT_EQ(next, names.size());
    };
    checkRows(preview.PageTexts, preview.PageRows, pages);
    checkRows(preview.QuatrTexts, preview.QuatrRows, quatrs);
}

INSTANTIATE_TEST_SUITE_P(
    Creation, PreviewTest,
    ::testing::Values(
        PreviewCase{"EmptyLists", {}, {}, {}, "", "", {}},
        PreviewCase{"ThreePagesEndWithABlank",
                    {"a", "b", "c"},
                    {},
                    {},
                    "1 a|2 b|3 c|4 Page blanche",
                    "",
                    {}},
        PreviewCase{"FourPagesEndWithTwoBlanks",
                    {"a", "b", "c", "d"},
                    {},
                    {},
                    "1 a|2 b|3 c|4 d|5 Page blanche|6 Page blanche",
                    "",
                    {}},
        PreviewCase{
            "TwoPagesAndABackCover", {"a", "b"}, {"q"}, {}, "1 a|2 b|3 Page blanche", "4 q", {}},
        PreviewCase{"NoPageAndABackCover", {}, {"q"}, {}, "1 Page blanche", "2 q", {}},
        PreviewCase{"RomanAfterOneDecimalPage",
                    {"a", "b"},
                    {},
                    {{"b", 3, None}},
                    "1 a|2 Page blanche|*I b|II Page blanche",
                    "",
                    {}},
        PreviewCase{"LettersAfterTwoDecimalPages",
                    {"a", "b", "c"},
                    {},
                    {{"c", 2, None}},
                    "1 a|2 b|*a c|b Page blanche",
                    "",
                    {}},
        PreviewCase{"ImposedFiveOnTheFirstPage",
                    {"a", "b"},
                    {},
                    {{"a", 5, 4}},
                    "1 Page blanche|2 Page blanche|3 Page blanche|4 Page blanche|*5 a|6 b|"
                    "7 Page blanche|8 Page blanche",
                    "",
                    {}},
        PreviewCase{"ImposedThreeOnTheFourthPage",
                    {"a", "b", "c", "d"},
                    {},
                    {{"d", 5, 2}},
                    "1 a|2 b|3 c|*4 d|5 Page blanche|6 Page blanche",
                    "",
                    {"d"}},
        PreviewCase{"ImposedOneOnlyMarks",
                    {"a", "b"},
                    {},
                    {{"a", 5, 0}},
                    "*1 a|2 b|3 Page blanche|4 Page blanche",
                    "",
                    {}},
        PreviewCase{"LeftOnTheFirstPage",
                    {"a", "b"},
                    {},
                    {{"a", 5, Left}},
                    "1 Page blanche|*2 a|3 b|4 Page blanche",
                    "",
                    {}},
        PreviewCase{"RightOnTheSecondPage",
                    {"a", "b"},
                    {},
                    {{"b", 5, Right}},
                    "1 a|2 Page blanche|*3 b|4 Page blanche",
                    "",
                    {}},
        PreviewCase{"ImposedFiveAndLeftConflictThenBlank",
                    {"a"},
                    {},
                    {{"a", 5, 4 | Left}},
                    "1 Page blanche|2 Page blanche|3 Page blanche|4 Page blanche|"
                    "5 Page blanche|*6 a|7 Page blanche|8 Page blanche",
                    "",
                    {"a"}},
        // The entry 0 asks for both sides, which the book does not honour: a conflict.
        PreviewCase{"EntryZeroAtAnEvenCountTwoBlanks",
                    {"a"},
                    {},
                    {{"a", 5, -1}},
                    "1 Page blanche|2 Page blanche|*3 a|4 Page blanche",
                    "",
                    {"a"}},
        PreviewCase{"EntryZeroAtAnOddCountOneBlank",
                    {"a", "b"},
                    {},
                    {{"b", 5, -1}},
                    "1 a|2 Page blanche|*3 b|4 Page blanche",
                    "",
                    {"b"}},
        PreviewCase{"SideOnABackCoverBlankInTheBackCovers",
                    {"a"},
                    {"q"},
                    {{"q", 5, Right}},
                    "1 a",
                    "2 Page blanche|*3 q",
                    {}},
        PreviewCase{"KindOnABackCoverBlankInTheBackCovers",
                    {"a", "b"},
                    {"q"},
                    {{"q", 3, None}},
                    "1 a|2 b|3 Page blanche",
                    "4 Page blanche|*I q",
                    {}},
        PreviewCase{"ConflictOnABackCoverNamesIt",
                    {"a", "b"},
                    {"q"},
                    {{"q", 5, 1}},
                    "1 a|2 b|3 Page blanche",
                    "*4 q",
                    {"q"}},
        PreviewCase{"TwoConflictsInOneRun",
                    {"a", "b", "c", "d"},
                    {},
                    {{"b", 5, 4 | Left}, {"d", 5, 1}},
                    "1 a|2 Page blanche|3 Page blanche|4 Page blanche|5 Page blanche|*6 b|7 c|"
                    "*8 d|9 Page blanche|10 Page blanche",
                    "",
                    {"b", "d"}},
        PreviewCase{"ImposedBeyondTheLimitIsAConflict",
                    {"a"},
                    {},
                    {{"a", 5, 99999}},
                    "*1 a|2 Page blanche",
                    "",
                    {"a"}},
        PreviewCase{"UnusedBackCoversListedButNotNumbered",
                    {"a", "b"},
                    {"q", "r"},
                    {{"q", 5, Right}},
                    "1 a|2 b|3 Page blanche|4 Page blanche",
                    "q|r",
                    {},
                    false}),
    [](const ::testing::TestParamInfo<PreviewCase> &param) { return param.param.name; });

TEST(PreviewNumbering, ConflictMessageNamesTheFullPath)
{
    EXPECT_EQ(ConflictMessage(file("a")),
              QStringLiteral("La contrainte concernant la numérotation sur le fichier /bd/a.jpg "
                             "ne peut être respectée."));
}

} // namespace
