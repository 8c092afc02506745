#include "app/core/pages/PageList.h"
#include "app/book/BookLayout.h"
#include "app/core/creation/CreationMeta.h"
#include "tests/support/AddressSpaceCap.h"
#include "tests/support/BookFixture.h"
#include "tests/support/CaseRunsAlone.h"
#include "tests/support/CountingBuffer.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/OpenedPages.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/Sanitizers.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZeroBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A book as the creation window writes it: optional cover, pages, back covers, and a meta
// record with the MD5 texts, the counts and the constraints.
struct BookLayout {
    bool cover = false;
    int pages = 0;
    int backCovers = 0;
    // position (1-based over pages and back covers), kind, value
    std::vector<std::tuple<int, int, std::int32_t>> constraints;
};

std::vector<Bytes> images(int count)
{
    std::vector<Bytes> result;
    for (int i = 0; i < count; ++i)
        result.push_back(MakeJpeg(8, 8, QColor::fromHsv(i * 25 % 360, 200, 200)));
    return result;
}

// Writes the book's JPEG files and description into dir, then the book itself with the
// creation window's writer; returns the book's path.
std::filesystem::path writeBook(const TempDir &dir, const BookLayout &layout)
{
    const std::vector<Bytes> jpegs = images(int(layout.cover) + layout.pages + layout.backCovers);
    std::size_t next = 0;
    const auto imageFile = [&](const std::string &stem) {
        const std::filesystem::path path = dir / (stem + std::to_string(next) + ".jpg");
        WriteFileBytes(path, jpegs[next++]);
        return QString::fromStdString(path.string());
    };
    CreationContent content;
    if (layout.cover) {
        content.Cover = imageFile("couverture");
        content.CoverChecked = true;
    }
    for (int i = 0; i < layout.pages; ++i)
        content.PageFiles << imageFile("page");
    for (int i = 0; i < layout.backCovers; ++i)
        content.QuatrsFiles << imageFile("quatrieme");
    content.QuatrsChecked = layout.backCovers > 0;
    for (const auto &[position, kind, value] : layout.constraints) {
        const QString file = position <= layout.pages
                                 ? content.PageFiles[position - 1]
                                 : content.QuatrsFiles[position - layout.pages - 1];
        content.Constraints.push_back({file, static_cast<NumberingKind>(kind), value});
    }
    WriteFileBytes(dir / "description.rtf", ToBytes("{\\rtf1 Une histoire}\r\n"));
    content.Description = QString::fromStdString((dir / "description.rtf").string());
    content.DescriptionChecked = true;

    const std::filesystem::path book = dir / "livre.bd";
    const QString bookName = QString::fromStdString(book.string());
    WriteCreatedBook(content, bookName);
    return book;
}

// The images and a meta record: the description, "%EOF", "%MD5", their MD5 texts, then lines.
Bytes bookWithLines(std::vector<Bytes> records, const std::vector<std::string> &lines,
                    std::string_view description = "")
{
    std::vector<std::string> all = StandardMetaLines(records);
    all.insert(all.end(), lines.begin(), lines.end());
    records.push_back(MakeMetaRecord(description, all));
    return AssembleBook(records);
}

// Opens a file as the main window does: stream, BlankCount reset, count, build.
struct Opened {
    BookPages state;
    RecordingPrompter prompter;
    std::int32_t counted = 0;

    explicit Opened(const std::filesystem::path &path) { open(path); }
    void open(const std::filesystem::path &path)
    {
        counted = OpenPages(state, QString::fromStdString(path.string()), prompter);
    }
    // Entries as "label:image", blank pages as "[label]".
    std::string pages() const
    {
        std::string text;
        for (const PageEntry &entry : state.PageList) {
            if (!text.empty())
                text += ' ';
            const std::string label = entry.Name.toStdString();
            text +=
                entry.Image == -1 ? "[" + label + "]" : label + ":" + std::to_string(entry.Image);
        }
        return text;
    }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const QString &text : prompter.texts())
            texts.push_back(text.toStdString());
        return texts;
    }
};

std::string conflictAt(int position)
{
    return "La contrainte concernant la numérotation sur l'image N° " + std::to_string(position) +
           " ne peut être respectée.";
}

// Every table case below has a name, used in the test's name and its printout.
template <class Case>
requires requires(const Case &c)
{
    c.name;
}
void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}
const auto caseName = [](const auto &caseInfo) { return std::string(caseInfo.param.name); };

struct BookCase {
    const char *name;
    BookLayout layout;
    const char *expected;
    std::vector<std::string> messages;
};

class BookPageListTest : public ::testing::TestWithParam<BookCase> {};

TEST_P(BookPageListTest, NumbersThePages)
{
    const BookCase &c = GetParam();
    TempDir dir;
    Opened book(writeBook(dir, c.layout));
    EXPECT_EQ(book.pages(), c.expected);
    EXPECT_EQ(book.messages(), c.messages);
    const int imageCount = int(c.layout.cover) + c.layout.pages + c.layout.backCovers;
    EXPECT_EQ(book.counted, imageCount);
    EXPECT_EQ(book.state.LeadCount, int(c.layout.cover));
    // The meta record's index is found back from the counts.
    EXPECT_EQ(book.state.PageCountCache + book.state.LeadCount - book.state.BlankCount, imageCount);
    EXPECT_EQ(book.state.PageCountCache, static_cast<int>(book.state.PageList.size()));
    EXPECT_TRUE(book.state.DescriptionMenuVisible);
    EXPECT_TRUE(book.state.DescriptionCommandEnabled);
}

constexpr std::int32_t Right = RightPageBit;

// GCC 12 at -O3 takes the vectors in the temporaries of this table for uninitialised when
// they are destroyed: a false alarm of its inliner, silenced for the table alone.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
INSTANTIATE_TEST_SUITE_P(
    Books, BookPageListTest,
    ::testing::Values(
        BookCase{
            "CoverFivePagesTwoBackCovers", {true, 5, 2, {}}, "1:1 2:2 3:3 4:4 5:5 [6] 7:6 8:7", {}},
        BookCase{"FourPagesNoBackCover", {true, 4, 0, {}}, "1:1 2:2 3:3 4:4 [5] [6]", {}},
        BookCase{"FivePagesNoBackCover", {true, 5, 0, {}}, "1:1 2:2 3:3 4:4 5:5 [6]", {}},
        BookCase{"NoCover", {false, 2, 2, {}}, "1:0 2:1 3:2 4:3", {}},
        // Position 5 is the first back cover, image 5 behind the cover.
        BookCase{"ConstraintOnFirstBackCover",
                 {true, 4, 2, {{5, 3, 0xFFFFFF}}},
                 "1:1 2:2 3:3 4:4 I:5 II:6",
                 {}},
        BookCase{"KindChangeAfterOddCount",
                 {false, 4, 0, {{4, 2, 0xFFFFFF}}},
                 "1:0 2:1 3:2 [4] a:3 [b]",
                 {}},
        // Imposed counter 6 (label 7) on the right.
        BookCase{"ImposedRightFallsRight",
                 {false, 5, 0, {{4, 5, 6 | Right}}},
                 "1:0 2:1 3:2 [4] [5] [6] 7:3 8:4 [9] [10]",
                 {}},
        // Imposed counter 5 (label 6) on the right falls on the left: the page stays there.
        BookCase{"ImposedRightFallsLeft",
                 {false, 5, 0, {{4, 5, 5 | Right}}},
                 "1:0 2:1 3:2 [4] [5] 6:3 7:4 [8]",
                 {conflictAt(3)}},
        BookCase{"ImposedCounterBehind",
                 {false, 4, 0, {{3, 5, 1}}},
                 "1:0 2:1 3:2 4:3 [5] [6]",
                 {conflictAt(2)}},
        // A Value of -1 asks for no side and no number.
        BookCase{"MinusOneChangesOnlyTheKind",
                 {false, 3, 0, {{2, 5, -1}, {3, 4, -1}}},
                 "1:0 2:1 i:2 [ii]",
                 {}},
        // Of two constraints on one position, the first is taken.
        BookCase{"FirstConstraintOnAPositionWins",
                 {false, 3, 0, {{2, 1, -1}, {2, 3, -1}}},
                 "1:0 [2] A:1 B:2 [C] [D]",
                 {}},
        // A hostile imposed counter makes no blank pages.
        BookCase{"ImposedCounterFarTooLarge",
                 {false, 2, 0, {{2, 5, 0xFFFFFE}}},
                 "1:0 2:1 [3] [4]",
                 {conflictAt(1)}}),
    caseName);
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

TEST(BuildPageList, FrontCoversAreMadeEvenBeforeThePages)
{
    TempDir dir;
    WriteFileBytes(dir / "livre.bd", bookWithLines(images(3), {"%Prems", "1", "%ListePages", "2"}));
    Opened book(dir / "livre.bd");
    EXPECT_EQ(book.pages(), "1:0 [2] 3:1 4:2 [5] [6]");
    EXPECT_EQ(book.state.PremsCount, 1);
}

TEST(BuildPageList, PresentationAndCoverImagesAreNoPages)
{
    TempDir dir;
    WriteFileBytes(dir / "livre.bd",
                   bookWithLines(images(4), {"%Presentation", "%Reliure", "%ListePages", "2"}));
    Opened book(dir / "livre.bd");
    EXPECT_EQ(book.pages(), "1:2 2:3 [3] [4]");
    EXPECT_EQ(book.state.LeadCount, 2);
    EXPECT_EQ(book.state.PageCountCache + book.state.LeadCount - book.state.BlankCount, 4);
}

TEST(BuildPageList, ChangedImageGivesOneMessageAndTheBookOpens)
{
    TempDir dir;
    const std::vector<Bytes> original = images(4);
    std::vector<Bytes> records = original;
    records[2] = MakeJpeg(8, 8, Qt::black);
    std::vector<std::string> lines = StandardMetaLines(original);
    lines.insert(lines.end(), {"%ListePages", "4"});
    records.push_back(MakeMetaRecord("", lines));
    WriteFileBytes(dir / "livre.bd", AssembleBook(records));
    Opened book(dir / "livre.bd");
    EXPECT_EQ(book.messages(),
              std::vector<std::string>{"La vérification a échouée pour l'image N° 2."});
    EXPECT_EQ(book.pages(), "1:0 2:1 3:2 4:3 [5] [6]");
}

TEST(BuildPageList, ExtraMd5TextsReportTheFirstMissingImageOnce)
{
    TempDir dir;
    const std::vector<std::string> extra(1000, "00000000000000000000000000000000");
    WriteFileBytes(dir / "livre.bd", bookWithLines(images(2), extra));
    Opened book(dir / "livre.bd");
    // Record 2 is the meta record itself, record 3 does not exist.
    EXPECT_EQ(book.messages(),
              (std::vector<std::string>{"La vérification a échouée pour l'image N° 2.",
                                        "La vérification a échouée pour l'image N° 3."}));
    EXPECT_EQ(book.pages(), "1:0 2:1");
}

// Opening walks the record chain once and reads each record once, however many there are and
// however large: the walk reads the file in blocks and hashes the records it reads, the check
// of the MD5 texts reads only those it passed over. No byte is read twice but the trailer,
// where the walk starts and ends, the meta record, read again for its lines, and the start of
// a block after each record the walk passes over.
TEST(OpeningABook, ReadsTheFileInBlocksAndEachByteOnce)
{
    const Bytes large = [] {
        Bytes image(std::size_t(::BookLayout::WholeRecordLimit) + 1, 0x5A);
        image[0] = 0xFF;
        return image;
    }();
    struct Case {
        const char *name;
        Bytes book;
        std::size_t pages;
        std::int64_t passedOver; // records larger than the walk reads whole
    };
    const std::vector<Case> cases = {
        // And two blank pages to close the book.
        {"3,000 small pages", bookWithLines(images(3000), {"%ListePages", "3000"}), 3002, 0},
        {"4 pages of over 1 MB", bookWithLines({large, large, large, large}, {"%ListePages", "4"}),
         6, 4},
        // The hostile chains: no metadata, one page per image.
        {"50,000 records of 4 bytes", TinyRecordBook(50'000), 50'000, 0},
        {"100,000 empty records behind a page", EmptyRecordBook(100'000), 99'999, 0},
        {"1 MiB of zeros", Bytes(1 << 20, 0), (1 << 18) - 2, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::filesystem::path path = dir / "livre.bd";
        WriteFileBytes(path, c.book);

        CountingBuffer counting(c.book);
        BookPages state;
        state.CurrentFile = QString::fromStdString(path.string());
        state.Book = OpenBook(state.CurrentFile, std::make_unique<std::istream>(&counting));
        RecordingPrompter prompter;
        NoUiHooks ui;
        CountPages(state, prompter, ui);
        BuildPageList(state, prompter);
        ASSERT_TRUE(prompter.messages.empty());
        ASSERT_EQ(state.PageList.size(), c.pages);

        const auto size = std::int64_t(c.book.size());
        const std::optional<BookRecord> meta = state.Book.layout().metaRecord();
        EXPECT_LE(counting.reads, size / (32 << 10) + 2 * c.passedOver + 4);
        EXPECT_LE(counting.bytesRead,
                  size + 4 + (meta ? meta->length : 0) + c.passedOver * (64 << 10));
    }
}

// Three images whose constraints each impose page 9998 in a numbering kind of its own: the
// list holds the 30,000 pages they ask for, nearly all blank.
TEST(BuildPageList, ImposedPagesInThreeKindsMakeThirtyThousandEntries)
{
    TempDir dir;
    WriteFileBytes(dir / "livre.bd", BookImposingLastPages(3));
    Opened book(dir / "livre.bd");
    EXPECT_TRUE(book.messages().empty());
    const std::vector<PageEntry> &pages = book.state.PageList;
    ASSERT_EQ(pages.size(), 30'000u);
    EXPECT_EQ(pages[9998].Name, "9999");
    EXPECT_EQ(pages[9998].Image, 0);
    EXPECT_EQ(pages[19998].Image, 1);
    EXPECT_EQ(pages[29998].Image, 2);
    EXPECT_EQ(std::count_if(pages.begin(), pages.end(),
                            [](const PageEntry &entry) { return entry.isBlank(); }),
              29'997);
}

// A book with two empty records behind its page opens with that page: the last empty record is
// an empty meta record, which names no page and holds no description.
TEST(BuildPageList, AnEmptyLastRecordIsAnEmptyMetaRecord)
{
    TempDir dir;
    WriteFileBytes(dir / "livre.bd", PageAndTwoEmptyRecords());
    Opened book(dir / "livre.bd");
    EXPECT_TRUE(book.messages().empty());
    EXPECT_EQ(book.pages(), "1:0");
    EXPECT_TRUE(book.state.DescriptionMenuVisible);
}

// Shows a box that needs memory of its own, noting whether the book was still open then.
class MemoryHungryPrompter : public RecordingPrompter {
public:
    explicit MemoryHungryPrompter(const BookPages &state) : state_(state) {}
    MessageAnswer show(const QString &text, const QString &title, MessageIcon icon,
                       MessageButtons buttons) override
    {
        openDuringBox = state_.Book.isOpen();
        Bytes box(16 << 20, 1);
        boxHadItsMemory = box.back() == 1;
        return RecordingPrompter::show(text, title, icon, buttons);
    }
    bool openDuringBox = true;
    bool boxHadItsMemory = false;

private:
    const BookPages &state_;
};

// A book of a million empty records needs more memory for its pages than the cap leaves: the
// opening gives up, closes the book, which gives its memory back, and only then says so.
TEST(OpeningABook, RunningOutOfMemorySaysSoAfterClosingTheBook)
{
    SKIP_UNDER_ADDRESS_SANITIZER("its allocator ends the program when an allocation fails instead "
                                 "of throwing std::bad_alloc");
    if (!CaseRunsAlone()) // the memory its allocator already holds would be used first
        return;
    TempDir dir;
    WriteFileBytes(dir / "livre.bd", EmptyRecordBook(2'000'000));
    BookPages state;
    state.CurrentFile = QString::fromStdString((dir / "livre.bd").string());
    MemoryHungryPrompter prompter(state);
    {
        const AddressSpaceCap cap;
        ASSERT_TRUE(cap.applied());
        state.Book = OpenBook::open(state.CurrentFile);
        NoUiHooks ui;
        CountPages(state, prompter, ui);
        BuildPageList(state, prompter);
    }
    EXPECT_EQ(prompter.texts(), std::vector<QString>{"Erreur, manque de mémoire."});
    EXPECT_FALSE(prompter.openDuringBox);
    EXPECT_TRUE(prompter.boxHadItsMemory);
    EXPECT_TRUE(state.PageList.empty());
    EXPECT_FALSE(state.Book.isOpen());
}

struct FallbackCase {
    const char *name;
    std::string description;
    std::vector<std::string> lines; // after the MD5 texts; no meta record when absent
    bool metaRecord;
    const char *expected;
};

class FallbackTest : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(FallbackTest, ListsOnePagePerImage)
{
    const FallbackCase &c = GetParam();
    TempDir dir;
    WriteFileBytes(dir / "livre.bd", c.metaRecord ? bookWithLines(images(3), c.lines, c.description)
                                                  : AssembleBook(images(3)));
    Opened book(dir / "livre.bd");
    EXPECT_EQ(book.pages(), c.expected);
    EXPECT_TRUE(book.messages().empty());
    EXPECT_EQ(book.state.DescriptionMenuVisible, c.metaRecord);
}

INSTANTIATE_TEST_SUITE_P(
    Books, FallbackTest,
    ::testing::Values(FallbackCase{"NoMetaRecord", "", {}, false, "1:0 2:1 3:2"},
                      // "%EOF" glued to the description is no line of its own.
                      FallbackCase{
                          "NoEofLine", "{\\rtf1 x}", {"%ListePages", "3"}, true, "1:0 2:1 3:2"},
                      FallbackCase{"NoCounts", "", {}, true, "1:0 2:1 3:2"},
                      FallbackCase{"CoverWithoutCounts", "", {"%Reliure"}, true, "1:1 2:2"},
                      // "%Presentation" after "%Reliure" is out of place and ends the reading.
                      FallbackCase{"GroupOutOfOrder",
                                   "",
                                   {"%Reliure", "%Presentation", "%ListePages", "2"},
                                   true,
                                   "1:1 2:2"}),
    caseName);

struct DamagedCase {
    const char *name;
    std::vector<std::string> lines; // after the MD5 texts of three images
};

class DamagedMetaTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedMetaTest, ReportsTheFileAndListsTheImages)
{
    TempDir dir;
    const std::filesystem::path path = dir / "livre.bd";
    WriteFileBytes(path, bookWithLines(images(3), GetParam().lines));

    Opened book(path);
    // Nothing of the damaged metadata is kept.
    EXPECT_EQ(book.pages(), "1:0 2:1 3:2");
    EXPECT_EQ(book.messages(), std::vector<std::string>{
                                   "Les informations de numérotation du fichier " + path.string() +
                                   " sont endommagées : les images sont affichées dans "
                                   "l'ordre du fichier."});
    EXPECT_FALSE(book.state.HasCover);
    EXPECT_EQ(book.state.ListePagesCount, 0);
    EXPECT_TRUE(book.state.BookConstraints.empty());
    EXPECT_EQ(book.state.PageCountCache, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DamagedMetaTest,
    ::testing::Values(
        DamagedCase{"CountNotANumber", {"%Reliure", "%ListePages", "deux"}},
        DamagedCase{"CountWithTrailingText", {"%ListePages", "2 pages"}},
        DamagedCase{"KeywordAsLastLine", {"%ListePages", "2", "%Quatrs"}},
        DamagedCase{"NegativeCount", {"%ListePages", "-2"}},
        DamagedCase{"CountsBeyondTheImages", {"%Reliure", "%ListePages", "2000000000"}},
        DamagedCase{"CountsAddUpBeyondTheImages", {"%ListePages", "2", "%Quatrs", "2"}},
        DamagedCase{"ConstraintCutShort", {"%ListePages", "3", "%Contraintes", "1", "0"}},
        DamagedCase{"KindAboveFive", {"%ListePages", "3", "%Contraintes", "1", "6", "0"}},
        DamagedCase{"ValueBeyond32Bits",
                    {"%ListePages", "3", "%Contraintes", "1", "0", "4294967296"}},
        DamagedCase{"MoreConstraintsThanImages",
                    {"%ListePages", "3", "%Contraintes", "1", "5", "-1", "1", "5", "-1", "2", "5",
                     "-1", "3", "5", "-1"}}),
    caseName);

TEST(BuildPageList, OpeningTheSameBookTwiceGivesTheSameList)
{
    TempDir dir;
    const std::filesystem::path path = writeBook(dir, {true, 3, 1, {{2, 3, 0xFFFFFF}}});
    Opened book(path);
    const std::string first = book.pages();
    const std::int32_t firstCount = book.state.PageCountCache;
    CurrentType = 2; // as the creation window's preview may leave it
    book.open(path);
    EXPECT_EQ(book.pages(), first);
    EXPECT_EQ(book.state.PageCountCache, firstCount);
}

struct PdfCase {
    const char *name;
    int pages;
    const char *expected;
};

class PdfPageListTest : public ::testing::TestWithParam<PdfCase> {};

TEST_P(PdfPageListTest, ListsThePagesAndEvensThem)
{
    TempDir dir;
    MakeGhostscriptPdf(dir / "album.PDF", GetParam().pages);
    Opened pdf(dir / "album.PDF");
    EXPECT_EQ(pdf.pages(), GetParam().expected);
    EXPECT_TRUE(pdf.messages().empty());
    EXPECT_FALSE(pdf.state.DescriptionMenuVisible);
    EXPECT_FALSE(pdf.state.DescriptionCommandEnabled);
}

INSTANTIATE_TEST_SUITE_P(Pdf, PdfPageListTest,
                         ::testing::Values(PdfCase{"SixPages", 6, "1:0 2:1 3:2 4:3 5:4 6:5"},
                                           PdfCase{"SevenPages", 7,
                                                   "1:0 2:1 3:2 4:3 5:4 6:5 7:6 [8]"}),
                         caseName);

// Files that give no page at all: one clear message and an empty page list.
struct UnreadableCase {
    const char *name;
    const char *fileName;
    std::optional<Bytes> bytes; // none: the file does not exist
    const char *message;        // the file's path follows, then "."
    const char *after;
};

class UnreadableTest : public ::testing::TestWithParam<UnreadableCase> {};

TEST_P(UnreadableTest, GivesOneMessageAndAnEmptyList)
{
    const UnreadableCase &c = GetParam();
    TempDir dir;
    const std::filesystem::path path = dir / c.fileName;
    if (c.bytes)
        WriteFileBytes(path, *c.bytes);
    Opened file(path);
    EXPECT_EQ(file.messages(), std::vector<std::string>{c.message + path.string() + c.after});
    EXPECT_TRUE(file.state.PageList.empty());
    EXPECT_EQ(file.state.PageCountCache, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableTest,
    ::testing::Values(
        UnreadableCase{"MissingFile", "absent.bd", std::nullopt, "Impossible d'ouvrir le fichier ",
                       "."},
        UnreadableCase{"EmptyBook", "vide.bd", Bytes{}, "Le fichier ",
                       " ne contient aucune image."},
        UnreadableCase{"OnlyAMetaRecord", "meta.bd", AssembleBook({ToBytes("%EOF\r\n")}),
                       "Le fichier ", " ne contient aucune image."},
        UnreadableCase{"CorruptChain", "casse.bd",
                       [] {
                           Bytes book = AssembleBook(images(2));
                           book[book.size() - 1] = 0x7F; // trailer far beyond the file
                           return book;
                       }(),
                       "Impossible d'ouvrir le fichier ", "."},
        UnreadableCase{"PdfWithoutCount", "faux.pdf", ToBytes("%PDF-1.4\nrien\n"),
                       "Impossible de lire le nombre de pages du fichier ", "."},
        UnreadableCase{
            "PdfWithNoPage", "vide.pdf",
            ToBytes(PdfBuilder().section(PdfBuilder::PageTree(0, "0"), "/Root 1 0 R").data()),
            "Le fichier ", " ne contient aucune image."}),
    caseName);

// A zero-filled file of over 8 GiB holds more empty records than a chain may count: a damaged
// book, as any other chain that cannot be walked.
TEST(OpeningABook, AChainOfMoreRecordsThanTheCountHoldsCannotBeOpened)
{
    ZeroBuffer zeros(8'589'934'600);
    BookPages state;
    state.CurrentFile = QStringLiteral("/livres/zéro.bd");
    state.Book = OpenBook(state.CurrentFile, std::make_unique<std::istream>(&zeros));
    RecordingPrompter prompter;
    NoUiHooks ui;
    EXPECT_EQ(CountPages(state, prompter, ui), 0);
    BuildPageList(state, prompter);
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].text, "Impossible d'ouvrir le fichier /livres/zéro.bd.");
    EXPECT_TRUE(state.PageList.empty());
}

} // namespace
