#include "app/core/tools/PageExtraction.h"
#include "app/core/pages/PageList.h"
#include "tests/support/BookFixture.h"
#include "tests/support/OpenedPages.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, Bytes>;

const QString Problem = QStringLiteral("Un problème est survenu lors de l'extraction.");

std::vector<Bytes> Images(int count)
{
    std::vector<Bytes> images;
    for (int i = 0; i < count; ++i)
        images.push_back(MakeJpeg(8 + i, 8, QColor::fromHsv(i * 40, 200, 200)));
    return images;
}

// The meta record of these images: the description, "%EOF", their MD5 texts, then lines.
Bytes Meta(const std::vector<Bytes> &images, const std::vector<std::string> &lines,
           std::string_view description = "")
{
    std::vector<std::string> all = StandardMetaLines(images);
    all.insert(all.end(), lines.begin(), lines.end());
    return MakeMetaRecord(description, all);
}

std::vector<Bytes> Plus(std::vector<Bytes> records, const Bytes &last)
{
    records.push_back(last);
    return records;
}

// "Album.bd" in a folder of its own, opened as the main window opens it; extraction goes to
// the folder "out" beside it.
struct Extraction {
    TempDir dir;
    RecordingPrompter prompter;
    BookPages state;
    int folderDialogs = 0;

    fs::path book() const { return dir / "Album.bd"; }
    fs::path folder() const { return dir / "out" / "Album"; }

    void open(const std::vector<Bytes> &records)
    {
        WriteFileBytes(book(), AssembleBook(records));
        OpenPages(state, QString::fromStdString(book().string()), prompter);
        ASSERT_TRUE(prompter.messages.empty()) << prompter.texts().front().toStdString();
    }

    void extract()
    {
        ExtractPages(state, prompter, [this](QString &chosen) {
            ++folderDialogs;
            chosen = QString::fromStdString((dir / "out").string());
            return true;
        });
    }

    // Every file in the extraction folder, by name.
    Files written() const
    {
        Files files;
        std::error_code error;
        for (const auto &entry : fs::directory_iterator(folder(), error))
            files[entry.path().filename().string()] = ReadFileBytes(entry.path());
        return files;
    }
};

TEST(PageExtraction, BookWithCoverBlankPagesAndCollidingLabels)
{
    // Cover, 3 pages, 1 back cover. Page 1: letters from counter 8 (blank pages A to H, then
    // I); page 2: upper-case roman (blank J, then I); page 3: II; blank III; back cover IV.
    const std::vector<Bytes> images = Images(5);
    Extraction e;
    e.open(Plus(images, Meta(images,
                             {"%Reliure", "%ListePages", "3", "%Quatrs", "1", "%Contraintes", "1",
                              "1", "8", "2", "3", "0"},
                             "{\\rtf1 Une histoire}\r\n")));
    ASSERT_EQ(e.state.PageList.size(), 14u);
    ASSERT_EQ(e.state.LeadCount, 1);

    e.extract();

    EXPECT_TRUE(e.prompter.messages.empty());
    EXPECT_EQ(e.written(), (Files{{"Couverture.jpg", images[0]},
                                  {"I.jpg", images[1]},
                                  {"I (2).jpg", images[2]},
                                  {"II.jpg", images[3]},
                                  {"IV.jpg", images[4]},
                                  {"Description.rtf", ToBytes("{\\rtf1 Une histoire}\r\n")}}));
}

TEST(PageExtraction, LabelsAlikeWhateverTheirCaseKeepFilesOfTheirOwn)
{
    // I (letters from counter 8), I (upper roman), i (lower letters from counter 8), i (lower
    // roman), with blank pages between them.
    const std::vector<Bytes> images = Images(4);
    Extraction e;
    e.open(Plus(images, Meta(images, {"%ListePages", "4", "%Contraintes", "1", "1", "8", "2", "3",
                                      "0", "3", "2", "8", "4", "4", "0"})));

    e.extract();

    EXPECT_EQ(e.written(), (Files{{"I.jpg", images[0]},
                                  {"I (2).jpg", images[1]},
                                  {"i (3).jpg", images[2]},
                                  {"i (4).jpg", images[3]}}));
}

TEST(PageExtraction, PresentationImageAndCoverBeforeThePages)
{
    const std::vector<Bytes> images = Images(3);
    Extraction e;
    e.open(Plus(images, Meta(images, {"%Presentation", "%Reliure", "%ListePages", "1"})));

    e.extract();

    EXPECT_EQ(e.written(), (Files{{"Présentation.jpg", images[0]},
                                  {"Couverture.jpg", images[1]},
                                  {"1.jpg", images[2]}}));
}

// Two pages, with descriptions of every form; the meta record is never taken for a page.
TEST(PageExtraction, DescriptionComesFromTheMetaRecordOnly)
{
    const std::vector<Bytes> images = Images(2);
    const struct {
        const char *name;
        std::vector<Bytes> records;
        const char *description; // nullptr: no Description.rtf
    } cases[] = {
        {"no meta record", images, nullptr},
        {"empty description", Plus(images, Meta(images, {"%ListePages", "2"})), nullptr},
        {"description ending with a line break",
         Plus(images, Meta(images, {"%ListePages", "2"}, "{\\rtf1 Texte}\r\n")),
         "{\\rtf1 Texte}\r\n"},
        // "%EOF" is then on no line of its own: the page list has one page per image.
        {"description ending right before %EOF", Plus(images, Meta(images, {}, "{\\rtf1 Texte}")),
         "{\\rtf1 Texte}"},
        {"meta record without %EOF", Plus(images, ToBytes("{\\rtf1 Tout}")), "{\\rtf1 Tout}"},
        // The walk does not count the empty record in front of the trailer.
        {"an empty last record, an empty meta record", Plus(Plus(images, {}), {}), nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Extraction e;
        e.open(c.records);
        e.extract();
        Files expected{{"1.jpg", images[0]}, {"2.jpg", images[1]}};
        if (c.description)
            expected["Description.rtf"] = ToBytes(c.description);
        EXPECT_EQ(e.written(), expected);
        EXPECT_TRUE(e.prompter.messages.empty());
    }
}

TEST(PageExtraction, ExtractingTwiceReplacesTheFirstRunsFiles)
{
    const std::vector<Bytes> images = Images(2);
    Extraction e;
    e.open(Plus(images, Meta(images, {"%ListePages", "2"}, "{\\rtf1 Texte}\r\n")));
    e.extract();
    const Files first = e.written();
    WriteFileBytes(e.folder() / "1.jpg", ToBytes("changed"));
    WriteFileBytes(e.folder() / "Description.rtf", ToBytes("changed"));

    e.extract();

    EXPECT_EQ(e.written(), first);
    EXPECT_EQ(first.size(), 3u);
    EXPECT_TRUE(e.prompter.messages.empty());
}

TEST(PageExtraction, NothingToExtractOrCancelled)
{
    Extraction e;
    e.extract();
    EXPECT_EQ(e.prompter.texts(), std::vector<QString>{"Aucun fichier chargé."});
    EXPECT_EQ(e.prompter.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(e.folderDialogs, 0);

    e.prompter.messages.clear();
    e.state.CurrentFile = QString::fromStdString((e.dir / "Album.PDF").string());
    e.state.PageList = {{"1", 0}, {"2", 1}};
    e.extract();
    EXPECT_EQ(e.prompter.texts(),
              std::vector<QString>{"Le fichier " + e.state.CurrentFile +
                                   " est un document PDF : seules les pages d'une bande "
                                   "dessinée peuvent être extraites."});
    EXPECT_EQ(e.folderDialogs, 0);

    Extraction cancelled;
    cancelled.open(Images(2));
    ExtractPages(cancelled.state, cancelled.prompter, [](QString &) { return false; });
    EXPECT_TRUE(cancelled.prompter.messages.empty());
    EXPECT_FALSE(fs::exists(cancelled.dir / "out"));
}

// A book damaged after it was opened: the page list still names its two pages.
TEST(PageExtraction, DamagedBookGivesAMessageAndWritesNothing)
{
    const std::vector<Bytes> images = Images(2);
    const Bytes good = AssembleBook(images);
    const auto withLength = [&](std::int32_t length) {
        Bytes book = good;
        const Bytes bytes = LittleEndian32(length);
        std::copy(bytes.begin(), bytes.end(), book.begin() + std::ptrdiff_t(images[0].size()));
        return book;
    };
    const struct {
        const char *name;
        Bytes book;
    } cases[] = {
        {"length running past the end", withLength(1 << 30)},
        {"negative length", withLength(-5)},
        {"trailer missing", Bytes(good.begin(), good.end() - 4)},
        {"file too short for a trailer", ToBytes("\xFF\xD8")},
        {"page beyond the images", AssembleBook({images[0]})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Extraction e;
        e.open(images);
        WriteFileBytes(e.book(), c.book);
        e.state.Book = OpenBook::open(e.state.CurrentFile);

        e.extract();

        EXPECT_EQ(e.prompter.texts(), std::vector<QString>{Problem});
        EXPECT_EQ(e.prompter.messages[0].icon, MessageIcon::Error);
        EXPECT_FALSE(fs::exists(e.dir / "out"));
    }
}

TEST(PageExtraction, FolderThatCannotBeCreatedGivesItsName)
{
    Extraction e;
    e.open(Images(1));
    fs::create_directory(e.dir / "out");
    WriteFileBytes(e.folder(), ToBytes("a file, not a folder"));

    e.extract();

    EXPECT_EQ(e.prompter.texts(),
              std::vector<QString>{QString::fromStdString("Impossible de créer le dossier " +
                                                          e.folder().string() + ".")});
    EXPECT_EQ(ReadFileBytes(e.folder()), ToBytes("a file, not a folder"));
}

} // namespace
