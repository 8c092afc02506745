// Whatever the creation window lets the user create opens in the viewer as its preview showed.
#include "app/core/creation/CreationMeta.h"
#include "app/core/creation/CreationPreview.h"
#include "app/core/pages/PageList.h"

#include "tests/support/BookFixture.h"
#include "tests/support/OpenedPages.h"
#include "tests/support/QtPath.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

namespace {

// The edits of the constraint menu, "Imposer..." with the page numbers typed.
enum class Edit { Kind, Impose, Right, Left, Delete, Count };
const char *const ImposedEntries[] = {"0", "1", "2", "3", "4", "6", "9", "10000", "16777216"};

// A window's content drawn from random: a cover or not, 1 to 6 pages, 0 to 3 back covers used
// or not, and up to 5 menu edits on any of the files. The constraints are listed in trace.
CreationContent randomContent(std::mt19937 &random, const TempDir &dir, std::string &trace)
{
    const auto draw = [&](std::uint32_t count) { return random() % count; };
    // The file <letter><index>.jpg of dir; built by appending, as "p" + std::string&& trips
    // GCC's -Wrestrict at -O3.
    const auto imageFile = [&dir](char letter, std::uint32_t index) {
        std::string name(1, letter);
        name += std::to_string(index);
        name += ".jpg";
        return QtPath(dir / name);
    };
    CreationContent content;
    content.Cover = QtPath(dir / "c.jpg");
    content.CoverChecked = draw(2) == 1;
    for (std::uint32_t i = 0, pages = 1 + draw(6); i < pages; ++i)
        content.PageFiles << imageFile('p', i);
    for (std::uint32_t j = 0, quatrs = draw(4); j < quatrs; ++j)
        content.QuatrsFiles << imageFile('q', j);
    content.QuatrsChecked = draw(2) == 1;
    trace = std::to_string(content.PageFiles.size()) + " pages, " +
            std::to_string(content.QuatrsFiles.size()) + " back covers" +
            (content.QuatrsChecked ? "" : " not used") + (content.CoverChecked ? ", cover" : "");

    const QStringList files = content.PageFiles + content.QuatrsFiles;
    CreationConstraintList &constraints = content.Constraints;
    for (std::uint32_t k = 0, edits = draw(6); k < edits; ++k) {
        const QString &file = files[qsizetype(draw(std::uint32_t(files.size())))];
        switch (Edit(draw(std::uint32_t(Edit::Count)))) {
        case Edit::Kind: SetConstraintKind(constraints, file, NumberingKind(draw(5))); break;
        case Edit::Impose: {
            const char *entry = ImposedEntries[draw(std::size(ImposedEntries))];
            ImposeConstraintCounter(constraints, file, *ImposedCounterOfEntry(entry));
            break;
        }
        case Edit::Right: SetConstraintSide(constraints, file, RightPageBit); break;
        case Edit::Left: SetConstraintSide(constraints, file, LeftPageBit); break;
        case Edit::Delete: DeleteConstraint(constraints, FindConstraint(constraints, file)); break;
        case Edit::Count: break;
        }
    }
    for (const CreationConstraint &constraint : constraints)
        trace.append("; ")
            .append(constraint.File.section('/', -1).toStdString())
            .append(" kind ")
            .append(std::to_string(constraint.Kind))
            .append(" value ")
            .append(std::to_string(constraint.Value));
    return content;
}

// Pages as "label:image", blank pages as "[label]".
std::string describe(const std::vector<PageEntry> &pages)
{
    std::string text;
    for (const PageEntry &entry : pages) {
        const std::string label = entry.Name.toStdString();
        text += text.empty() ? "" : " ";
        if (entry.Image == -1)
            text.append("[").append(label).append("]");
        else
            text.append(label).append(":").append(std::to_string(entry.Image));
    }
    return text;
}

// The preview's rows as the entries of the page list that the book should get.
std::vector<PageEntry> previewedPages(const CreationPreview &preview,
                                      const CreationContent &content)
{
    std::vector<PageEntry> pages;
    const auto add = [&](const QStringList &texts, const std::vector<std::int32_t> &rows,
                         std::int32_t firstImage) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            pages.push_back({texts[qsizetype(i)].section(QLatin1Char(' '), 0, 0).remove('*'),
                             rows[i] == -1 ? -1 : firstImage + rows[i]});
    };
    const std::int32_t lead = content.CoverChecked ? 1 : 0;
    add(preview.PageTexts, preview.PageRows, lead);
    if (content.QuatrsChecked)
        add(preview.QuatrTexts, preview.QuatrRows, lead + std::int32_t(content.PageFiles.size()));
    return pages;
}

// The book's page list as the viewer builds it; its messages in messages.
std::vector<PageEntry> openedPages(const std::filesystem::path &book,
                                   std::vector<QString> &messages)
{
    BookPages state;
    RecordingPrompter prompter;
    OpenPages(state, QtPath(book), prompter);
    messages = prompter.texts();
    return state.PageList;
}

TEST(PreviewMatchesTheBook, ForEveryContentThatMayBeCreated)
{
    TempDir dir;
    for (const char *name : {"c", "p0", "p1", "p2", "p3", "p4", "p5", "q0", "q1", "q2"})
        WriteFileBytes(dir / (std::string(name) + ".jpg"), MakeJpeg(8, 8));
    std::mt19937 random(7);
    int created = 0;
    for (int i = 0; i < 400 && !HasFailure(); ++i) {
        std::string trace;
        const CreationContent content = randomContent(random, dir, trace);
        SCOPED_TRACE(trace);
        const CreationPreview preview = PreviewNumbering(
            content.PageFiles, content.QuatrsFiles, content.QuatrsChecked, content.Constraints);
        if (!preview.CreateEnabled)
            continue;
        ++created;
        WriteCreatedBook(content, QtPath(dir / "livre.bd"));
        std::vector<QString> messages;
        EXPECT_EQ(describe(openedPages(dir / "livre.bd", messages)),
                  describe(previewedPages(preview, content)));
        EXPECT_TRUE(messages.empty()) << messages.front().toStdString();
    }
    // The draw must leave most contents creatable for the comparison to mean something.
    if (!HasFailure()) {
        EXPECT_GT(created, 200);
    }
}

} // namespace
