#include "app/core/creation/CreationConstraints.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

const QString Page = QStringLiteral("/bd/Page.jpg");
const QString Other = QStringLiteral("/bd/autre.jpg");

TEST(CreationConstraints, FindAddDelete)
{
    CreationConstraintList constraints;
    EXPECT_EQ(FindConstraint(constraints, Page), -1);
    AddConstraint(constraints, Other, 1, 7);
    AddConstraint(constraints, Page, 2, 8);
    AddConstraint(constraints, Page, 3, 9); // added although one exists: the first is found
    EXPECT_EQ(FindConstraint(constraints, Page), 1);
    // Linux file names tell letter case apart.
    EXPECT_EQ(FindConstraint(constraints, QStringLiteral("/bd/page.jpg")), -1);

    DeleteConstraint(constraints, -1);
    EXPECT_EQ(constraints.size(), 3u);
    DeleteConstraint(constraints, 0);
    EXPECT_EQ(constraints, (CreationConstraintList{{Page, 2, 8}, {Page, 3, 9}}));
}

// What each item of the constraint menu makes of the file's constraint.
TEST(CreationConstraints, MenuEdits)
{
    using Edit = std::function<void(CreationConstraintList &)>;
    const auto kind = [](NumberingKind k) {
        return Edit([k](CreationConstraintList &c) { SetConstraintKind(c, Page, k); });
    };
    const auto impose = [](std::int32_t n) {
        return Edit([n](CreationConstraintList &c) { ImposeConstraintCounter(c, Page, n); });
    };
    const auto side = [](std::int32_t bit) {
        return Edit([bit](CreationConstraintList &c) { SetConstraintSide(c, Page, bit); });
    };
    const std::int32_t right = RightPageBit, left = LeftPageBit;
    const struct {
        const char *name;
        std::optional<CreationConstraint> before;
        Edit edit;
        CreationConstraint after;
    } cases[] = {
        {"kind on a new file", {}, kind(3), {Page, 3, 0xFFFFFF}},
        {"kind keeps the value",
         CreationConstraint{Page, 5, 4 | right},
         kind(0),
         {Page, 0, 4 | right}},
        {"number on a new file", {}, impose(4), {Page, 5, 4}},
        {"number keeps the side and the kind",
         CreationConstraint{Page, 2, 9 | right},
         impose(4),
         {Page, 2, 4 | right}},
        {"16777216 leaves a constraint as it was",
         CreationConstraint{Page, 2, 9 | right},
         impose(0xFFFFFF),
         {Page, 2, 9 | right}},
        {"16777216 on a new file", {}, impose(0xFFFFFF), {Page, 5, 0xFFFFFF}},
        {"entry 0 on a new file sets every bit", {}, impose(-1), {Page, 5, -1}},
        {"right on a new file", {}, side(right), {Page, 5, right}},
        {"right replaces left and keeps the number",
         CreationConstraint{Page, 1, 6 | left},
         side(right),
         {Page, 1, 6 | right}},
        {"left clears the high bits of entry 0",
         CreationConstraint{Page, 5, -1},
         side(left),
         {Page, 5, 0xFFFFFF | left}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CreationConstraintList constraints = {{Other, 4, 1}};
        if (c.before)
            constraints.push_back(*c.before);
        c.edit(constraints);
        EXPECT_EQ(constraints, (CreationConstraintList{{Other, 4, 1}, c.after}));
    }
}

TEST(CreationConstraints, ImposedEntryIsAPageNumberFrom0To16777216)
{
    const std::pair<const char *, std::optional<std::int32_t>> cases[] = {
        {"5", 4},   {"1", 0}, {" 12 ", 11}, {"0", -1},  {"16777216", 0xFFFFFF}, {"16777217", {}},
        {"-1", {}}, {"", {}}, {"dix", {}},  {"3a", {}}, {"99999999999", {}},
    };
    for (const auto &[entry, counter] : cases)
        EXPECT_EQ(ImposedCounterOfEntry(QLatin1String(entry)), counter) << entry;
}

} // namespace
