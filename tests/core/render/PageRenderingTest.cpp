#include "app/core/render/PageRendering.h"
#include "app/core/files/TemporaryDirectory.h"
#include "app/core/pages/PageList.h"
#include "tests/support/AddressSpaceCap.h"
#include "tests/support/BookFixture.h"
#include "tests/support/CaseRunsAlone.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/Sanitizers.h"
#include "tests/support/TempDir.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio> // before jpeglib.h
#include <cstdlib>
#include <dlfcn.h>
#include <functional>
#include <jpeglib.h>

namespace {

namespace fs = std::filesystem;

const QString LibraryErrorText = "Erreur lors du chargement de la librairie Ghostscript.";

class CountingUiHooks : public UiHooks {
public:
    void processPendingEvents() override { ++pendingPasses; }
    void setBusyCursor(bool) override {}
    int pendingPasses = 0;
};

// The size of a text bitmap: the text's extent in the default font.
QSize TextSize(const QString &text)
{
    const QImage probe(1, 1, QImage::Format_RGB32);
    const QFontMetrics metrics(QFont(), &probe);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

bool HasDarkPixel(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

void ExpectShowsText(const std::optional<QImage> &bitmap, const QString &text)
{
    ASSERT_TRUE(bitmap.has_value());
    EXPECT_EQ(bitmap->size(), TextSize(text)) << text.toStdString();
    EXPECT_TRUE(HasDarkPixel(*bitmap)) << "no text drawn";
}

void ExpectFilledWith(const std::optional<QImage> &bitmap, QSize size, QColor colour)
{
    ASSERT_TRUE(bitmap.has_value());
    ASSERT_EQ(bitmap->size(), size);
    for (const QPoint point : {QPoint(1, 1), QPoint(size.width() / 2, size.height() / 2),
                               QPoint(size.width() - 2, size.height() - 2)}) {
        const QColor actual = bitmap->pixelColor(point);
        EXPECT_NEAR(actual.red(), colour.red(), 16);
        EXPECT_NEAR(actual.green(), colour.green(), 16);
        EXPECT_NEAR(actual.blue(), colour.blue(), 16);
    }
}

class PageRendering : public ::testing::Test {
protected:
    void Open(const fs::path &path)
    {
        state.CurrentFile = QtPath(path);
        state.Book = OpenBook::open(state.CurrentFile);
    }
    std::optional<QImage> Load(std::int32_t image) { return LoadPageBitmap(state, image, env); }
    fs::path WriteBook(const std::string &name, const std::vector<Bytes> &records)
    {
        const fs::path path = dir / name;
        WriteFileBytes(path, AssembleBook(records));
        return path;
    }

    TempDir dir;
    RecordingPrompter prompter;
    CountingUiHooks ui;
    BookPages state;
    PageRenderEnv env{prompter, ui, QSize(120, 90), "/usr/bin/quirelle"};
};

TEST_F(PageRendering, BookRecordsDecodeOrGiveNothingBeyondTheChain)
{
    const std::vector<Bytes> images{MakeJpeg(30, 20, Qt::red), MakeJpeg(40, 10, Qt::green),
                                    MakeJpeg(8, 16, Qt::blue)};
    std::vector<Bytes> records = images;
    records.push_back(MakeMetaRecord("{\\rtf1 x}", StandardMetaLines(images)));
    Open(WriteBook("Album.bd", records));

    ExpectFilledWith(Load(0), {30, 20}, Qt::red);
    ExpectFilledWith(Load(1), {40, 10}, Qt::green);
    ExpectFilledWith(Load(2), {8, 16}, Qt::blue);
    ExpectShowsText(Load(3), "Image incorrect"); // the meta record is no picture
    EXPECT_FALSE(Load(4).has_value());
    EXPECT_FALSE(Load(-1).has_value()); // a blank page
    EXPECT_FALSE(Load(0)->isNull());    // the stream still reads after walking to the end
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(ui.pendingPasses, 0);
}

// A document opened since is read, never the one before it.
TEST_F(PageRendering, EachDocumentIsReadFromItself)
{
    Open(WriteBook("Rouge.bd", {MakeJpeg(30, 20, Qt::red), MakeJpeg(30, 20, Qt::red)}));
    ExpectFilledWith(Load(1), {30, 20}, Qt::red);

    Open(WriteBook("Vert.bd", {MakeJpeg(12, 40, Qt::green), MakeJpeg(64, 8, Qt::blue)}));
    ExpectFilledWith(Load(1), {64, 8}, Qt::blue);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PageRendering, UndecodableRecordsShowImageIncorrectWithoutMessage)
{
    Bytes damaged = MakeJpeg(16, 16);
    for (std::size_t i = 2; i < 40; ++i)
        damaged[i] = 0x5A;
    const struct {
        const char *name;
        Bytes record;
    } cases[] = {
        {"damaged header", damaged},
        {"header declaring more pixels than memory holds",
         WithFrameSize(MakeJpeg(16, 16), 65000, 65000)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Open(WriteBook("Broken.bd", {MakeJpeg(8, 8), c.record}));
        ExpectShowsText(Load(1), "Image incorrect");
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PageRendering, DamagedRecordChainShowsImageIncorrect)
{
    Bytes book = AssembleBook({MakeJpeg(8, 8), MakeJpeg(8, 8)});
    const Bytes huge = LittleEndian32(0x7FFFFFF0);
    std::copy(huge.begin(), huge.end(), book.end() - 4); // record 0 longer than the file
    WriteFileBytes(dir / "Chain.bd", book);
    Open(dir / "Chain.bd");

    ExpectShowsText(Load(1), "Image incorrect");
    EXPECT_TRUE(prompter.messages.empty());
}

// A picture the header says is 5000 x 5000 (100 MB) cannot be held under the cap.
TEST_F(PageRendering, RunningOutOfMemoryShowsManqueDeMemoireAfterABox)
{
    SKIP_UNDER_ADDRESS_SANITIZER("its allocator ends the program when an allocation fails instead "
                                 "of throwing std::bad_alloc");
    if (!CaseRunsAlone()) // the memory its allocator already holds would be used first
        return;
    const AddressSpaceCap cap;
    ASSERT_TRUE(cap.applied());

    Open(WriteBook("Huge.bd", {WithFrameSize(MakeJpeg(16, 16), 5000, 5000),
                               WithFrameSize(MakeJpeg(16, 16), 65000, 65000)}));
    ExpectShowsText(Load(0), "Manque de mémoire");
    ASSERT_EQ(prompter.texts(), std::vector<QString>{"Erreur, manque de mémoire."});
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);

    ExpectShowsText(Load(1), "Image incorrect"); // refused before allocating
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(PageRendering, MissingFileNamesItAndGivesABlankBitmapEveryTime)
{
    for (const char *name : {"Gone.bd", "Gone.pdf"}) {
        SCOPED_TRACE(name);
        prompter.messages.clear();
        const fs::path path = dir / name;
        WriteFileBytes(path, AssembleBook({MakeJpeg(8, 8)}));
        Open(path);
        fs::remove(path);

        for (int attempt = 0; attempt < 2; ++attempt)
            ExpectFilledWith(Load(0), {120, 90}, Qt::white);
        const QString expected = "Impossible d'ouvrir le fichier " + QtPath(path) + ".";
        EXPECT_EQ(prompter.texts(), (std::vector<QString>{expected, expected}));
        EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::Ok);
    }
}

TEST_F(PageRendering, PdfBlankPageIsAnEmptyBitmap)
{
    WriteFileBytes(dir / "Empty.pdf", ToBytes("not even a PDF"));
    Open(dir / "Empty.pdf");
    const std::optional<QImage> blank = Load(-1);
    ASSERT_TRUE(blank.has_value());
    EXPECT_TRUE(blank->isNull());
    EXPECT_EQ(blank->size(), QSize(0, 0));
    EXPECT_EQ(ui.pendingPasses, 0);
}

TEST_F(PageRendering, PdfPagesAreRenderedAt200DpiThroughTheLibrary)
{
    MakeColouredPdf(dir / "Album.pdf", {Qt::red, Qt::green, Qt::blue});
    Open(dir / "Album.pdf");

    ExpectFilledWith(Load(0), {200, 200}, Qt::red);
    ExpectFilledWith(Load(2), {200, 200}, Qt::blue);
    EXPECT_TRUE(QFileInfo::exists(RenderingPath(state.CurrentFile, 2)));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(ui.pendingPasses, 2);
}

// A thumbnail takes the smallest DCT scale whose picture is not below the size wanted, and
// knows the page's full size; what shows no decoded picture keeps its own size.
TEST_F(PageRendering, ThumbnailsAreDecodedAtTheScaleTheyAreWantedAt)
{
    Bytes damaged = MakeJpeg(16, 16);
    for (std::size_t i = 2; i < 40; ++i)
        damaged[i] = 0x5A;
    Open(WriteBook("Album.bd", {MakeJpeg(400, 600, Qt::red), damaged}));
    const struct {
        std::int32_t image;
        QSize wanted;
        std::optional<QSize> bitmap; // none: no bitmap
        QSize pageSize;
    } cases[] = {
        {0, {50, 75}, QSize(50, 75), {400, 600}},    // 1/8
        {0, {51, 75}, QSize(100, 150), {400, 600}},  // 2/8
        {0, {10, 226}, QSize(200, 300), {400, 600}}, // 4/8
        {0, {500, 10}, QSize(400, 600), {400, 600}}, // larger than the page: full scale
        {1, {50, 75}, TextSize("Image incorrect"), TextSize("Image incorrect")},
        {-1, {50, 75}, std::nullopt, {}}, // a blank page
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.image);
        std::vector<QSize> asked;
        const PageBitmap page = LoadPageThumbnail(state, c.image, env, [&](QSize full) {
            asked.push_back(full);
            return c.wanted;
        });
        ASSERT_EQ(page.bitmap.has_value(), c.bitmap.has_value());
        if (c.bitmap) {
            EXPECT_EQ(page.bitmap->size(), *c.bitmap);
        }
        EXPECT_EQ(page.pageSize, c.pageSize);
        if (c.image == 0) {
            EXPECT_EQ(asked, std::vector<QSize>{QSize(400, 600)});
            ExpectFilledWith(page.bitmap, *c.bitmap, Qt::red);
        }
    }

    MakeColouredPdf(dir / "Album.pdf", {Qt::green});
    Open(dir / "Album.pdf");
    const PageBitmap rendered =
        LoadPageThumbnail(state, 0, env, [](QSize) { return QSize(50, 50); });
    ExpectFilledWith(rendered.bitmap, {50, 50}, Qt::green);
    EXPECT_EQ(rendered.pageSize, QSize(200, 200));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PageRendering, PdfOfTheSameNameInAnotherFolderShowsItsOwnPages)
{
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    MakeColouredPdf(dir / "a" / "Album.pdf", {Qt::red});
    MakeColouredPdf(dir / "b" / "Album.pdf", {Qt::green});

    Open(dir / "a" / "Album.pdf");
    ExpectFilledWith(Load(0), {200, 200}, Qt::red);
    Open(dir / "b" / "Album.pdf");
    ExpectFilledWith(Load(0), {200, 200}, Qt::green);

    // Without the library, the other document's rendering is not shown either.
    fs::copy_file(dir / "a" / "Album.pdf", dir / "Album.pdf");
    Open(dir / "Album.pdf");
    env.ghostscriptDir = QtPath(dir / "nowhere") + '/';
    ExpectShowsText(Load(0), "Image incorrect");
    EXPECT_EQ(prompter.texts(), std::vector<QString>{LibraryErrorText});
}

TEST_F(PageRendering, MissingLibraryShowsABoxThenTheEarlierRendering)
{
    MakeColouredPdf(dir / "Album.pdf", {Qt::red, Qt::blue});
    Open(dir / "Album.pdf");
    ExpectFilledWith(Load(1), {200, 200}, Qt::blue);

    env.ghostscriptDir = QtPath(dir / "nowhere") + '/';
    ExpectFilledWith(Load(1), {200, 200}, Qt::blue);
    ExpectShowsText(Load(0), "Image incorrect"); // never rendered
    EXPECT_EQ(prompter.texts(), (std::vector<QString>{LibraryErrorText, LibraryErrorText}));
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(ui.pendingPasses, 3);
}

TEST_F(PageRendering, LibraryWithoutTheEntryPointsShowsImageIncorrectWithoutBox)
{
    Dl_info module{};
    ASSERT_NE(dladdr(reinterpret_cast<void *>(&jpeg_std_error), &module), 0);
    fs::create_directories(dir / "fake");
    fs::copy_file(module.dli_fname, dir / "fake" / GhostscriptLibraryName);
    MakeColouredPdf(dir / "Album.pdf", {Qt::red});
    Open(dir / "Album.pdf");
    env.ghostscriptDir = QtPath(dir / "fake") + '/';

    ExpectShowsText(Load(0), "Image incorrect");
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(ui.pendingPasses, 1);
}

// The document is replaced under the same path after its pages were rendered once.
TEST_F(PageRendering, RunThatRendersNothingShowsImageIncorrectWithoutBox)
{
    const struct {
        const char *name;
        std::function<void(const fs::path &)> replace;
    } cases[] = {
        {"not a PDF", [](const fs::path &p) { WriteFileBytes(p, ToBytes("no document\n")); }},
        {"no pages", [](const fs::path &p) { WriteFileBytes(p, ToBytes("%PDF-1.4\nnone\n")); }},
        {"fewer pages", [](const fs::path &p) { MakeColouredPdf(p, {Qt::green}); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MakeColouredPdf(dir / "Album.pdf", {Qt::red, Qt::blue});
        Open(dir / "Album.pdf");
        ExpectFilledWith(Load(1), {200, 200}, Qt::blue);

        c.replace(dir / "Album.pdf");
        ExpectShowsText(Load(1), "Image incorrect");
        EXPECT_FALSE(QFileInfo::exists(RenderingPath(state.CurrentFile, 1)));
    }
    EXPECT_TRUE(prompter.messages.empty());
}

// Another document renamed over the open one: the pages counted and rendered are the opened
// document's, never the other's.
TEST_F(PageRendering, PdfRenamedOverTheOpenDocumentIsNeverRead)
{
    MakeColouredPdf(dir / "Album.pdf", {Qt::red, Qt::blue});
    MakeColouredPdf(dir / "Autre.pdf", {Qt::green});
    Open(dir / "Album.pdf");
    fs::rename(dir / "Autre.pdf", dir / "Album.pdf");

    EXPECT_EQ(CountPages(state, prompter, ui), 2);
    ExpectFilledWith(Load(0), {200, 200}, Qt::red);
    ExpectFilledWith(Load(1), {200, 200}, Qt::blue);
    EXPECT_TRUE(prompter.messages.empty());
}

// A temporary-file cleaner removed the private directory and someone took its name.
TEST_F(PageRendering, PrivateDirectoryTakenOverIsReplacedByANewOne)
{
    MakeColouredPdf(dir / "Album.pdf", {Qt::red});
    Open(dir / "Album.pdf");
    ExpectFilledWith(Load(0), {200, 200}, Qt::red);
    const fs::path taken =
        fs::path(RenderingPath(state.CurrentFile, 0).toStdString()).parent_path().parent_path();
    fs::remove_all(taken);
    fs::create_directory(taken);
    fs::permissions(taken, fs::perms::all);

    ExpectFilledWith(Load(0), {200, 200}, Qt::red);
    const fs::path renewed =
        fs::path(RenderingPath(state.CurrentFile, 0).toStdString()).parent_path().parent_path();
    EXPECT_NE(renewed, taken);
    EXPECT_EQ(fs::status(renewed).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(taken));
    fs::remove(taken);
}

TEST_F(PageRendering, PercentSignsInThePathAreTakenLiterally)
{
    fs::create_directories(dir / "50%d");
    MakeColouredPdf(dir / "plain.pdf", {Qt::green});
    fs::rename(dir / "plain.pdf", dir / "50%d" / "100%s%%.pdf");
    Open(dir / "50%d" / "100%s%%.pdf");

    ExpectFilledWith(Load(0), {200, 200}, Qt::green);
    EXPECT_TRUE(QFileInfo::exists(RenderingPath(state.CurrentFile, 0)));
    EXPECT_TRUE(RenderingPath(state.CurrentFile, 0).endsWith("/100%s%%.jpg0"));
}

TEST(GhostscriptPageArguments, RenderOnePageIntoItsRaster)
{
    EXPECT_EQ(
        GhostscriptPageArguments("/opt/q/quirelle", "/books/My Album.pdf", 11,
                                 "/tmp/p/50%/My Album.jpg11", {200, 1653, 2339}),
        (QStringList{"/opt/q/quirelle", "-q", "-dBATCH", "-dSAFER", "-dNOPAUSE", "-sDEVICE=jpeg",
                     "-r200x200", "-g1653x2339", "-dFIXEDMEDIA", "-dFirstPage=12", "-dLastPage=12",
                     "-sOutputFile=/tmp/p/50%%/My Album.jpg11", "-f/books/My Album.pdf"}));
}

// A page larger than a page may be at 200 dpi is rendered at once at the resolution that fits,
// page view and thumbnail alike; one whose size cannot be read is not rendered.
TEST_F(PageRendering, PdfPagesLargerThanAPageMayBeAreRenderedSmaller)
{
    WriteFileBytes(dir / "Affiche.pdf", ToBytes(PdfOfOnePage("/MediaBox [0 0 14400 14400]")));
    Open(dir / "Affiche.pdf");
    ExpectFilledWith(Load(0), {5792, 5792}, Qt::blue);

    const PageBitmap thumbnail =
        LoadPageThumbnail(state, 0, env, [](QSize) { return QSize(100, 100); });
    EXPECT_EQ(thumbnail.pageSize, QSize(5792, 5792));
    ASSERT_TRUE(thumbnail.bitmap);
    EXPECT_EQ(thumbnail.bitmap->size(), QSize(724, 724)); // 1/8

    // Ghostscript renders into the raster of the size read, whatever it reads in the file.
    WriteFileBytes(dir / "Double.pdf",
                   ToBytes(PdfOfOnePage("/MediaBox [0 0 72 36] /MediaBox [0 0 14400 14400]")));
    Open(dir / "Double.pdf");
    ExpectFilledWith(Load(0), {200, 100}, Qt::blue);

    WriteFileBytes(dir / "Illisible.pdf", ToBytes(PdfOfOnePage("/MediaBox [0 0 large 14400]")));
    Open(dir / "Illisible.pdf");
    ExpectShowsText(Load(0), "Image incorrect");
    EXPECT_FALSE(QFileInfo::exists(RenderingPath(state.CurrentFile, 0)));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(RenderingPath, LiesInAPrivateDirectoryPerDocument)
{
    const QString first = RenderingPath("/books/Album.pdf", 0);
    EXPECT_TRUE(first.endsWith("/Album.jpg0"));
    EXPECT_EQ(RenderingPath("/books/Album.pdf", 7), first.chopped(1) + "7");
    EXPECT_NE(RenderingPath("/other/Album.pdf", 0), first);
    EXPECT_TRUE(RenderingPath("/books/a.b.PDF", 3).endsWith("/a.b.jpg3"));

    const fs::path privateDir = fs::path(first.toStdString()).parent_path().parent_path();
    EXPECT_EQ(QtPath(privateDir.parent_path()), GetTempDir());
    EXPECT_EQ(fs::status(privateDir).permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST(TrimTrailingBackslashes, RemovesBlanksAndTrailingSeparators)
{
    const std::pair<QString, QString> cases[] = {
        {"/tmp", "/tmp"},
        {"/tmp/", "/tmp"},
        {"/tmp//", "/tmp"},
        {" \t/tmp/ \n", "/tmp"},
        {"/", "/"},
        {"///", "/"},
        {"", ""},
        {"  ", ""},
        {"/a b/c d/", "/a b/c d"},
        {"C:\\x\\", "C:\\x\\"},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(TrimTrailingBackslashes(input), expected) << input.toStdString();
}

TEST(GetTempDir, FollowsTmpdirWithoutTrailingSeparators)
{
    TempDir dir;
    const std::pair<std::string, QString> cases[] = {
        {dir.path().string() + "//", QtPath(dir.path())},
        {"/", "/"},
        {(dir / "missing").string(), "/tmp"},
    };
    const auto restore = qScopeGuard([] { unsetenv("TMPDIR"); });
    for (const auto &[tmpdir, expected] : cases) {
        setenv("TMPDIR", tmpdir.c_str(), 1);
        EXPECT_EQ(GetTempDir(), expected) << tmpdir;
    }
}

} // namespace
