#include "app/core/creation/CreationRows.h"

#include <gtest/gtest.h>

namespace {

// A list written as one character per row: a capital letter is a file row, its small letter
// the same row selected, '.' a blank row and '*' a selected blank row. The files are the
// letters in row order.
struct Rows {
    QStringList files;
    std::vector<std::int32_t> rows;
    RowSelection selected;

    explicit Rows(const std::string &text)
    {
        for (const char c : text) {
            const bool blank = c == '.' || c == '*';
            selected.push_back(c == '*' || (c >= 'a' && c <= 'z'));
            rows.push_back(blank ? -1 : std::int32_t(files.size()));
            if (!blank)
                files << QString(QChar(c).toUpper());
        }
    }
};

struct MoveCase {
    const char *rows;
    bool up;
    const char *files; // the file order afterwards
    std::vector<std::int32_t> select;
};

TEST(MoveRows, MoveSelectedFilesOnePlacePastBlankRows)
{
    const MoveCase cases[] = {
        {"A.b", true, "BA", {0}},
        {"Abc", true, "BCA", {0, 1}},
        {"aB", true, "AB", {0}},
        // Below a blank row, a file moves above the nearest file row, selected or not.
        {"a.b", true, "BA", {0, 0}},
        {"A*b", true, "BA", {0}},
        {"AbcD", true, "BCAD", {0, 1}},
        {"aB", false, "BA", {1}},
        {"Ab", false, "AB", {1}},
        // Blank rows at the end give the last file row no place to move to.
        {"aB.", false, "BA", {1}},
        {"Ab.", false, "AB", {1}},
        {"abC", false, "CAB", {2, 1}},
        {"", true, "", {}},
        {"", false, "", {}},
    };
    for (const MoveCase &c : cases) {
        SCOPED_TRACE(std::string(c.rows) + (c.up ? " up" : " down"));
        Rows list(c.rows);
        const std::vector<std::int32_t> select =
            c.up ? MoveRowsUp(list.selected, list.files, list.rows)
                 : MoveRowsDown(list.selected, list.files, list.rows);
        EXPECT_EQ(list.files.join(QString()), QLatin1String(c.files));
        EXPECT_EQ(select, c.select);
    }
}

TEST(DeleteSelectedRows, RemovesTheSelectedFilesAndTheirConstraints)
{
    const struct {
        const char *rows;
        const char *files;
        std::vector<const char *> constrained; // files keeping their constraint
    } cases[] = {
        {"aBc", "B", {"B"}},
        {"A*B", "AB", {"A", "B", "C"}},
        {"ABC", "ABC", {"A", "B", "C"}},
        {"a.B.c", "B", {"B"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rows);
        Rows list(c.rows);
        CreationConstraintList constraints = {{"A", 1, 0}, {"B", 2, 0}, {"C", 3, 0}};
        DeleteSelectedRows(list.selected, list.files, list.rows, constraints);
        EXPECT_EQ(list.files.join(QString()), QLatin1String(c.files));
        QStringList kept;
        for (const CreationConstraint &constraint : constraints)
            kept << constraint.File;
        QStringList expected;
        for (const char *name : c.constrained)
            expected << QLatin1String(name);
        EXPECT_EQ(kept, expected);
    }
}

} // namespace
