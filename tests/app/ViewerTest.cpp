// The main window offscreen: opening books, the page view, the thumbnail grid, navigation.
#include "app/Unit1.h"
#include "app/core/program/Settings.h"
#include "app/widgets/ClickLabel.h"
#include "app/widgets/ClientArea.h"
#include "app/widgets/PictureBox.h"
#include "app/widgets/ThumbnailGrid.h"
#include "app/widgets/VirtualKey.h"
#include "controls/GradButton.h"

#include "tests/support/AddressSpaceCap.h"
#include "tests/support/BookFixture.h"
#include "tests/support/CaseRunsAlone.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/RecordingLinks.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/Sanitizers.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedPrograms.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

const QString NotFound = QStringLiteral("Page introuvable.");

// Lets a test act from inside the thumbnail loop's message processing.
class ScriptedUi : public UiHooks {
public:
    void processPendingEvents() override
    {
        ++passes;
        if (onEvents)
            onEvents();
    }
    void setBusyCursor(bool) override {}

    int passes = 0;
    std::function<void()> onEvents;
};

const QColor Colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan, Qt::magenta};

class Viewer : public testing::Test {
protected:
    Viewer()
    {
        form.resize(1020, 800);
        form.show();
        QCoreApplication::processEvents();
    }

    // A book of `count` pages of 100 x 150 in the colours above, optionally with a meta record.
    QString writeBook(const std::string &name, int count,
                      const std::vector<std::string> &numbering = {}, int width = 100,
                      int height = 150)
    {
        std::vector<Bytes> images;
        for (int i = 0; i < count; ++i)
            images.push_back(MakeJpeg(width, height, Colours[i % 6]));
        std::vector<Bytes> records = images;
        if (!numbering.empty()) {
            std::vector<std::string> lines = StandardMetaLines(images);
            lines.insert(lines.end(), numbering.begin(), numbering.end());
            records.push_back(MakeMetaRecord("{\\rtf1 }\r\n", lines));
        }
        const auto path = dir / name;
        WriteFileBytes(path, AssembleBook(records));
        return QString::fromStdString(path.string());
    }

    QStringList pageNames() const
    {
        QStringList names;
        for (const PageEntry &entry : form.state.PageList)
            names << entry.Name;
        return names;
    }

    static void click(QWidget *widget, QPointF inside = {2, 2})
    {
        QMouseEvent press(QEvent::MouseButtonPress, inside, widget->mapToGlobal(inside),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, inside, widget->mapToGlobal(inside),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
    }

    QStringList thumbnailKeys() const
    {
        QStringList keys = form.thumbnailKeys();
        keys.sort();
        return keys;
    }

    // Where the grid shows a page's thumbnail; empty when it holds none.
    QRect thumbnailRect(const QString &pageName) const
    {
        const std::optional<std::int32_t> cell = form.thumbnail(pageName);
        return cell ? form.Thumbnails->cellRect(*cell) : QRect();
    }

    // The thumbnail as the grid paints it.
    QImage thumbnailPicture(const QString &pageName) const
    {
        return form.Thumbnails->grab(thumbnailRect(pageName)).toImage();
    }

    void clickThumbnail(const QString &pageName)
    {
        click(form.Thumbnails, thumbnailRect(pageName).topLeft() + QPointF(2, 2));
    }

    TempDir dir;
    RecordingPrompter prompter;
    ScriptedDialogs dialogs;
    ScriptedUi ui;
    ScriptedPrograms programs;
    RecordingLinks links;
    // The program's folder, where a crash report would go, is the test's own.
    TForm1 form{{prompter, dialogs, ui, programs, links,
                 QString::fromStdString((dir / "quirelle").string())}};
};

TEST_F(Viewer, OpensABookAtItsFirstPage)
{
    const QString book = writeBook("Album.bd", 3);
    dialogs.cancel();
    form.Ouvrir1->trigger();
    EXPECT_TRUE(form.state.CurrentFile.isEmpty());
    dialogs.choose({book});
    form.Ouvrir1->trigger();

    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[0].dialog.Filter,
              QStringLiteral("Bande dessinée (*.bd)|*.bd|Adobe Acrobat Document (*.pdf)|*.pdf"));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(form.state.CurrentFile, book);
    EXPECT_EQ(form.OpenDialog1.InitialDir, QString::fromStdString(dir.path().string()));
    EXPECT_EQ(form.state.CurrentPage, 1);
    EXPECT_EQ(form.Label2->text(), QStringLiteral("Album"));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("1"));
    EXPECT_EQ(form.state.PageWidth, 100);
    EXPECT_EQ(form.state.PageHeight, 150);
    EXPECT_TRUE(form.Imprimer1->menuAction()->isEnabled());
    EXPECT_FALSE(form.Panel1->isHidden());
    EXPECT_FALSE(form.Image1->isHidden());
    // Actual size, centred below the panel: client 1020 wide, (1020 - 100) div 2 = 460.
    const int clientHeight = form.Client->clientHeight();
    EXPECT_EQ(form.Image1->geometry(),
              QRect(460, std::max(49, 49 + (clientHeight - 49 - 150) / 2), 100, 150));
    const QRgb centre = form.Image1->picture().pixel(50, 75);
    EXPECT_GT(qRed(centre), 200);
    EXPECT_LT(qGreen(centre), 60);
}

TEST_F(Viewer, ThumbnailGridHoldsEveryPageInRowsOfFive)
{
    writeBook("Album.bd", 7);
    form.Charge(QString::fromStdString((dir / "Album.bd").string()));
    EXPECT_EQ(thumbnailKeys().size(), 7);

    // w = (1020 - 20) div 5 = 200, h = 150 x 200 div 100 = 300
    EXPECT_EQ(thumbnailRect(QStringLiteral("7")), QRect(200, 300, 195, 295));
    EXPECT_TRUE(form.Thumbnails->isHidden()); // the single-page view is shown

    form.Visionneuse1->trigger();
    EXPECT_FALSE(form.Thumbnails->isHidden());
    EXPECT_TRUE(form.Panel1->isHidden());
    EXPECT_TRUE(form.Image1->isHidden());
    // The page is stretched onto (0, 0, w - 6, h - 6); the last column and row stay white.
    const QImage picture = thumbnailPicture(QStringLiteral("7"));
    EXPECT_EQ(picture.size(), QSize(195, 295));
    EXPECT_GT(qRed(picture.pixel(100, 150)), 200); // the seventh page is red
    EXPECT_LT(qBlue(picture.pixel(100, 150)), 60);
    EXPECT_EQ(picture.pixel(194, 150), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(100, 294), qRgb(255, 255, 255));

    // Clicking a thumbnail shows its page; the gap beside it is no thumbnail.
    click(form.Thumbnails, thumbnailRect(QStringLiteral("4")).topRight() + QPointF(3, 2));
    EXPECT_TRUE(form.Panel1->isHidden());
    clickThumbnail(QStringLiteral("4"));
    EXPECT_EQ(form.state.CurrentPage, 4);
    EXPECT_FALSE(form.Panel1->isHidden());
    EXPECT_TRUE(form.Thumbnails->isHidden());
}

TEST_F(Viewer, SecondChargeDuringTheThumbnailsOfTheFirstLeavesOnlyItsOwn)
{
    const QString first = writeBook("First.bd", 6);
    const QString second =
        writeBook("Second.bd", 2, {"%ListePages", "2", "%Contraintes", "2", "1", "0"});
    ui.onEvents = [&] {
        if (ui.passes == 1) // after the first file's first row
            form.Charge(second);
    };
    form.Charge(first);

    EXPECT_EQ(form.state.CurrentFile, second);
    // Letters from the second page on: a blank page before A, and one to close the book.
    EXPECT_EQ(pageNames(), (QStringList{"1", "2", "A", "B"}));
    EXPECT_EQ(thumbnailKeys(), (QStringList{"ImageBD1", "ImageBD2", "ImageBDA", "ImageBDB"}));
    // The first loop stopped at its next pass: one pass of each, a pass after each row.
    EXPECT_EQ(ui.passes, 1 + 1);
}

TEST_F(Viewer, OpeningTheSameFileAgainBuildsTheThumbnailsAfresh)
{
    const QString book = writeBook("Album.bd", 7);
    ui.onEvents = [&] {
        if (ui.passes == 1)
            form.Charge(book);
    };
    form.Charge(book);
    EXPECT_EQ(thumbnailKeys().size(), 7);
    EXPECT_EQ(ui.passes, 1 + 2); // the outer loop ends once the inner one took over
}

TEST_F(Viewer, ClosingTheWindowStopsTheThumbnails)
{
    const QString book = writeBook("Album.bd", 15);
    ui.onEvents = [&] {
        if (ui.passes == 2)
            form.state.CurrentFile.clear(); // what closing the window does
    };
    form.Charge(book);
    EXPECT_EQ(ui.passes, 2);
    EXPECT_EQ(thumbnailKeys().size(), 10);
}

TEST_F(Viewer, HeldKeyPausesTheThumbnails)
{
    const QString book = writeBook("Album.bd", 15);
    ui.onEvents = [&] {
        if (ui.passes == 1)
            form.state.KeyHeld = true;
        if (ui.passes == 4)
            form.state.KeyHeld = false;
        if (ui.passes == 2 || ui.passes == 3) {
            EXPECT_EQ(thumbnailKeys().size(), 5);
        }
    };
    form.Charge(book);
    EXPECT_EQ(ui.passes, 3 + 3); // a pass after each of the three rows, three while held
    EXPECT_EQ(thumbnailKeys().size(), 15);
}

TEST_F(Viewer, BlankPagePaintsThePageWhiteAndKeepsItsSize)
{
    // "A gauche" on the first page puts a blank page before it.
    const QString book =
        writeBook("Album.bd", 2, {"%ListePages", "2", "%Contraintes", "1", "5", "536870912"});
    form.Charge(book);
    ASSERT_GE(form.state.PageList.size(), 3u);
    ASSERT_EQ(form.state.PageList[0].Image, -1);
    // The blank first page comes first; the page view keeps the page shown before it:
    // nothing yet, so the picture stays empty.
    EXPECT_TRUE(form.Image1->picture().isNull());

    form.Button2Click(); // page "2", red, 100 x 150
    const QRect placed = form.Image1->geometry();
    form.Button1Click(); // back to the blank page
    EXPECT_EQ(form.state.CurrentPage, 1);
    EXPECT_EQ(form.Label3->text(), QStringLiteral("1"));
    EXPECT_EQ(form.Image1->geometry(), placed);
    EXPECT_EQ(form.Image1->picture().size(), QSize(100, 150));
    EXPECT_EQ(form.Image1->picture().pixel(50, 75), qRgb(255, 255, 255));
    EXPECT_EQ(form.state.PageWidth, 100);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Viewer, BookOpeningOnABlankPageShowsItsOwnName)
{
    form.Charge(writeBook("Un titre bien plus long.bd", 1));
    form.Charge(
        writeBook("Album.bd", 2, {"%ListePages", "2", "%Contraintes", "1", "5", "536870912"}));
    ASSERT_EQ(form.state.PageList[0].Image, -1);
    EXPECT_EQ(form.Label2->text(), QStringLiteral("Album"));
    EXPECT_EQ(form.Button2->x(), form.Label2->x() + form.Label2->width() + 50);
}

TEST_F(Viewer, ThumbnailHeightComesFromTheFirstPageWithABitmap)
{
    const QString book =
        writeBook("Album.bd", 2, {"%ListePages", "2", "%Contraintes", "1", "5", "536870912"});
    form.Charge(book);
    // w = 200; the blank first page has no bitmap, the next gives h = 150 x 200 div 100 = 300.
    EXPECT_EQ(thumbnailRect(QStringLiteral("1")), QRect(0, 0, 195, 295));
    EXPECT_EQ(thumbnailRect(QStringLiteral("2")), QRect(200, 0, 195, 295));
    // Placed before the height was known, the blank thumbnail is white all the way down.
    const QImage blank = thumbnailPicture(QStringLiteral("1"));
    ASSERT_EQ(blank.size(), QSize(195, 295));
    EXPECT_EQ(blank.pixel(97, 250), qRgb(255, 255, 255));
}

// A large page is decoded small for its thumbnail; the row height still comes from its
// full size.
TEST_F(Viewer, ThumbnailHeightComesFromTheFullPageSize)
{
    form.Charge(writeBook("Album.bd", 1, {}, 1000, 1497));
    // w = 200, h = 1497 x 200 div 1000 = 299; decoded at 2/8, 250 x 375, it would give 300.
    EXPECT_EQ(thumbnailRect(QStringLiteral("1")), QRect(0, 0, 195, 294));
    const QRgb centre = thumbnailPicture(QStringLiteral("1")).pixel(97, 147);
    EXPECT_GT(qRed(centre), 200);
    EXPECT_LT(qGreen(centre), 60);
    EXPECT_TRUE(prompter.messages.empty());
}

// A first page 1 pixel wide would make its row 200 x 30000 pixels high: the row is bounded.
TEST_F(Viewer, PageShapeGivesARowOfAtMostThreeScreenHeights)
{
    const auto path = dir / "Tall.bd";
    WriteFileBytes(path, AssembleBook({MakeJpeg(1, 30000, Qt::blue), MakeJpeg(100, 150)}));
    form.Charge(QString::fromStdString(path.string()));
    EXPECT_TRUE(prompter.messages.empty());

    const int bound = 3 * form.screen()->size().height();
    EXPECT_EQ(form.Thumbnails->rowHeight(), bound);
    EXPECT_EQ(thumbnailRect(QStringLiteral("2")), QRect(200, 0, 195, bound - 5));
    const QImage second = thumbnailPicture(QStringLiteral("2"));
    EXPECT_GT(qRed(second.pixel(97, bound / 2)), 200);
    EXPECT_EQ(second.pixel(194, bound / 2), qRgb(255, 255, 255));
}

// The grid holds the pictures of the rows in view and one view height below and above them,
// whatever the length of the book; scrolling loads the rows that come into view.
TEST_F(Viewer, GridHoldsOnlyTheRowsNearTheViewWhateverTheBookLength)
{
    const auto held = [&] { return form.Thumbnails->heldCells(); };
    // w = 200, h = 300: rows 0 to 2 are in view, 3 to 5 below it.
    const int nearRows = 6;
    ASSERT_EQ(form.Client->clientHeight() / 300 + 1, 3);
    std::vector<std::size_t> heldAtOpening;
    for (const int pages : {100, 400}) {
        SCOPED_TRACE(pages);
        form.Charge(writeBook("Album" + std::to_string(pages) + ".bd", pages));
        heldAtOpening.push_back(held().size());
        EXPECT_EQ(held().front(), 0);
        EXPECT_EQ(held().back(), nearRows * 5 - 1);
    }
    EXPECT_EQ(heldAtOpening, (std::vector<std::size_t>{nearRows * 5, nearRows * 5}));

    form.Visionneuse1->trigger();
    QScrollBar *scroll = form.Client->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    QCoreApplication::processEvents();
    EXPECT_LE(held().size(), std::size_t(nearRows * 5));
    EXPECT_TRUE(form.thumbnail(QStringLiteral("400")));
    EXPECT_FALSE(form.thumbnail(QStringLiteral("1")));
    const QRgb last = thumbnailPicture(QStringLiteral("400")).pixel(97, 147);
    EXPECT_GT(qGreen(last), 200); // the 400th page is yellow
    EXPECT_GT(qRed(last), 200);

    scroll->setValue(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(held().size(), std::size_t(nearRows * 5));
    EXPECT_TRUE(form.thumbnail(QStringLiteral("1")));
    EXPECT_TRUE(prompter.messages.empty());
}

// Progressive, and declaring 5000 x 5000 pixels: libjpeg keeps the coefficients of the whole
// picture, about 75 MB, to decode even its thumbnail.
Bytes ProgressiveHugeJpeg()
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(picture);
    const QByteArray bytes = buffer.data();
    return WithFrameSize(Bytes(bytes.begin(), bytes.end()), 5000, 5000);
}

// Memory running out while the grid loads gives one error box for the rows being loaded, not
// one a thumbnail, and the program goes on.
TEST_F(Viewer, MemoryRunningOutInTheGridGivesOneBox)
{
    SKIP_UNDER_ADDRESS_SANITIZER("its allocator ends the program when an allocation fails instead "
                                 "of throwing std::bad_alloc");
    if (!CaseRunsAlone()) // the memory its allocator already holds would be used first
        return;
    std::vector<Bytes> records{MakeJpeg(100, 150)};
    records.insert(records.end(), 9, ProgressiveHugeJpeg());
    const auto path = dir / "Huge.bd";
    WriteFileBytes(path, AssembleBook(records));
    {
        const AddressSpaceCap cap;
        ASSERT_TRUE(cap.applied());
        form.Charge(QString::fromStdString(path.string()));
    }
    EXPECT_EQ(prompter.texts(), std::vector<QString>{QStringLiteral("Erreur, manque de mémoire.")});
    EXPECT_EQ(thumbnailKeys(), (QStringList{"ImageBD1", "ImageBD2"}));

    prompter.messages.clear();
    clickThumbnail(QStringLiteral("1"));
    EXPECT_EQ(form.state.CurrentPage, 1);
    EXPECT_TRUE(form.Image1->isVisible());
    EXPECT_TRUE(prompter.messages.empty());
}

// Repeated names: navigation lands on the first entry of a name.
TEST_F(Viewer, NavigationWithRepeatedNames)
{
    form.Charge(writeBook("Album.bd", 5));
    // Letters and roman numerals can name two pages alike.
    form.state.PageList = {{"A", 0}, {"B", 1}, {"I", 2}, {"C", 3}, {"I", 4}};
    struct Step {
        const char *command;
        std::function<void()> run;
        std::int32_t page; // CurrentPage afterwards
        bool notFound;
    };
    const std::vector<Step> steps = {
        {"last", [&] { form.Button3Click(); }, 3, false},     // entry 4 is "I": the first I
        {"next", [&] { form.Button2Click(); }, 4, false},     // C
        {"next", [&] { form.Button2Click(); }, 3, false},     // entry 4, "I" again
        {"previous", [&] { form.Button1Click(); }, 2, false}, // B
        {"first", [&] { form.Button4Click(); }, 1, false},
        {"previous", [&] { form.Button1Click(); }, 1, true},
        {"by name", [&] { form.AffichePage(QStringLiteral("I")); }, 3, false},
        {"by name, case counts", [&] { form.AffichePage(QStringLiteral("b")); }, 3, true},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.command);
        prompter.messages.clear();
        step.run();
        EXPECT_EQ(form.state.CurrentPage, step.page);
        EXPECT_EQ(prompter.texts(),
                  step.notFound ? std::vector<QString>{NotFound} : std::vector<QString>{});
    }
    // Next from the last entry.
    form.state.CurrentPage = form.state.PageCountCache;
    prompter.messages.clear();
    form.Button2Click();
    EXPECT_EQ(prompter.texts(), std::vector<QString>{NotFound});
}

TEST_F(Viewer, RepeatedNameMovesItsThumbnailToTheLaterPlace)
{
    // Roman numerals, then letters: the letter "I" names a page as the roman I did.
    form.Charge(writeBook("Album.bd", 10,
                          {"%ListePages", "10", "%Contraintes", "1", "3", "-1", "2", "1", "-1"}));
    ASSERT_EQ(pageNames(),
              (QStringList{"I", "II", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}));
    EXPECT_EQ(thumbnailKeys().size(), 11);
    EXPECT_EQ(thumbnailRect(QStringLiteral("I")).topLeft(), QPoint(0, 600));
    // The first place of the name is left empty.
    click(form.Thumbnails, QPointF(2, 2));
    EXPECT_EQ(form.state.CurrentPage, 1);
    EXPECT_TRUE(form.Panel1->isVisible());
}

TEST_F(Viewer, ShowingAPageWithoutAFile)
{
    form.AffichePage(QStringLiteral("1"));
    form.Button4Click();
    EXPECT_EQ(prompter.texts(),
              (std::vector<QString>{QStringLiteral("Aucun fichier n'est chargé."),
                                    QStringLiteral("Aucun fichier n'est chargé.")}));
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(form.Panel1->isHidden());
}

TEST_F(Viewer, FileThatCannotBeOpenedLeavesTheOpenBookUsable)
{
    const QString book = writeBook("Album.bd", 3);
    form.Charge(book);
    const std::istream *stream = &form.state.Book.stream();
    const QStringList names = pageNames();

    for (const QString &bad : {QString::fromStdString((dir / "missing.bd").string()),
                               QString::fromStdString(dir.path().string())}) {
        SCOPED_TRACE(bad.toStdString());
        prompter.messages.clear();
        form.Charge(bad);
        EXPECT_EQ(
            prompter.texts(),
            std::vector<QString>{QStringLiteral("Impossible d'ouvrir le fichier ") + bad + "."});
        EXPECT_EQ(form.state.CurrentFile, book);
        EXPECT_EQ(&form.state.Book.stream(), stream);
        EXPECT_EQ(pageNames(), names);
        EXPECT_EQ(thumbnailKeys().size(), 3);
    }
    prompter.messages.clear();
    form.Button3Click();
    EXPECT_EQ(form.state.CurrentPage, 3);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Viewer, FileWithoutPagesShowsNothingAndNavigationFindsNoPage)
{
    form.Charge(writeBook("Album.bd", 2));
    ASSERT_TRUE(form.Imprimer1->menuAction()->isEnabled());

    const auto pdf = dir / "Broken.pdf";
    WriteFileBytes(pdf, ToBytes("%PDF-1.4\nnot a PDF\n"));
    prompter.messages.clear();
    form.Charge(QString::fromStdString(pdf.string()));
    EXPECT_EQ(prompter.messages.size(), 1u); // the page count could not be read
    EXPECT_TRUE(form.state.PageList.empty());
    EXPECT_FALSE(form.Imprimer1->menuAction()->isEnabled());
    EXPECT_TRUE(form.Image1->picture().isNull());
    EXPECT_TRUE(thumbnailKeys().isEmpty());
    EXPECT_EQ(form.Label2->text(), QStringLiteral("Broken"));

    const std::vector<std::function<void()>> commands = {
        [&] { form.Button1Click(); },
        [&] { form.Button2Click(); },
        [&] { form.Button3Click(); },
        [&] { form.Button4Click(); },
        [&] { form.Zoom->setCurrentIndex(2); },
        [&] {
            form.Edit3->setText("1");
            form.Edit3KeyDown(VK_RETURN);
        },
    };
    for (std::size_t i = 0; i < commands.size(); ++i) {
        SCOPED_TRACE(i);
        prompter.messages.clear();
        commands[i]();
        EXPECT_EQ(prompter.texts(), std::vector<QString>{NotFound});
    }
}

TEST_F(Viewer, ZoomIsReadOnOpeningAndWrittenOnChange)
{
    const QString book = writeBook("Album.bd", 2, {}, 2000, 3000);
    form.Charge(book);
    EXPECT_EQ(form.settings.readZoom(), 0); // written as 0 when absent
    EXPECT_EQ(form.Zoom->currentIndex(), 0);
    EXPECT_EQ(form.Image1->size(), QSize(2000, 3000));

    form.Zoom->setCurrentIndex(2); // "Pleine largeur": 1020 / 2000
    EXPECT_EQ(form.settings.readZoom(), 2);
    EXPECT_EQ(form.Image1->width(), form.Client->clientWidth());
    EXPECT_EQ(form.focusWidget(), form.VireFocus);

    form.Zoom->setCurrentIndex(0);
    form.settings.writeZoom(1);
    form.Charge(book); // reading the setting does not run ZoomClick
    EXPECT_EQ(form.Zoom->currentIndex(), 1);
    EXPECT_EQ(form.settings.readZoom(), 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Viewer, StoredZoomOutOfRangeLeavesNoSelectionAndThePageInPlace)
{
    form.Charge(writeBook("Small.bd", 1, {}, 100, 150));
    const QRect placed = form.Image1->geometry();
    form.settings.writeZoom(7);
    form.Charge(writeBook("Large.bd", 1, {}, 400, 300));
    EXPECT_EQ(form.Zoom->currentIndex(), -1);
    EXPECT_EQ(form.state.PageWidth, 400);
    EXPECT_EQ(form.Image1->geometry(), placed);
}

TEST_F(Viewer, TitleWithAmpersandShowsItOnce)
{
    form.Charge(writeBook("Tom & Jerry.bd", 1));
    EXPECT_EQ(form.Label2->text(), QStringLiteral("Tom & Jerry"));
}

TEST_F(Viewer, TitlePushesTheForwardButtonsRight)
{
    form.Charge(writeBook("A.bd", 1));
    const int shortTitle = form.Button2->x();
    form.Charge(writeBook("Un titre bien plus long.bd", 1));
    const int m = form.Client->clientWidth() / 2;
    EXPECT_EQ(form.Label2->x(), m + 5);
    EXPECT_EQ(form.Button2->x(), m + 5 + form.Label2->width() + 50);
    EXPECT_GT(form.Button2->x(), shortTitle);
    EXPECT_EQ(form.Button3->x(), form.Button2->x() + 89 + 10);
    EXPECT_EQ(form.Zoom->x(), form.Button3->x() + 89 + 10);
    EXPECT_EQ(form.Button1->x(), m - form.Label1->width() - 50 - 89);
}

TEST_F(Viewer, TypingAPageName)
{
    form.Charge(writeBook("Album.bd", 4));
    click(form.Label3);
    EXPECT_TRUE(form.Label3->isHidden());
    EXPECT_FALSE(form.Edit3->isHidden());
    EXPECT_EQ(form.Edit3->text(), QStringLiteral("1"));
    EXPECT_EQ(form.Edit3->x(), form.Label3->x() - 3);

    form.Edit3->setText(QStringLiteral("3"));
    form.Edit3KeyDown('A'); // not Enter: nothing
    EXPECT_EQ(form.state.CurrentPage, 1);
    emit form.Edit3->returnPressed();
    EXPECT_EQ(form.state.CurrentPage, 3);
    EXPECT_TRUE(form.Edit3->isHidden());
    EXPECT_FALSE(form.Label3->isHidden());

    form.Label3Click();
    form.Edit3->setText(QStringLiteral("99"));
    form.Edit3KeyDown(VK_RETURN);
    EXPECT_EQ(prompter.texts(), std::vector<QString>{NotFound});
    EXPECT_TRUE(form.Edit3->isHidden());
    EXPECT_EQ(form.state.CurrentPage, 3);
}

TEST_F(Viewer, PdfPagesAreRenderedAndItsBlankPageIsWhite)
{
    const auto pdf = dir / "Album.pdf";
    MakeColouredPdf(pdf, {Qt::red, Qt::green, Qt::blue});
    form.Charge(QString::fromStdString(pdf.string()));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(form.Description->isVisible());
    // Three pages made even by a blank one.
    EXPECT_EQ(pageNames(), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(form.state.PageList[3].Image, -1);
    // 72 points at 200 dpi.
    EXPECT_EQ(form.state.PageWidth, 200);
    EXPECT_GT(qRed(form.Image1->picture().pixel(100, 100)), 200);

    // w = 200, h = 200 x 200 div 200 = 200; the blank page's empty bitmap copies nothing.
    EXPECT_EQ(thumbnailRect(QStringLiteral("2")), QRect(200, 0, 195, 195));
    const QRgb second = thumbnailPicture(QStringLiteral("2")).pixel(97, 97);
    EXPECT_GT(qGreen(second), 100);
    EXPECT_LT(qRed(second), 60);
    EXPECT_EQ(thumbnailPicture(QStringLiteral("4")).pixel(97, 97), qRgb(255, 255, 255));
}

// Rendering a PDF page lets messages run: a page asked for meanwhile is the one that stays.
TEST_F(Viewer, PageShownWhileAnotherRendersStaysShown)
{
    const auto pdf = dir / "Album.pdf";
    MakeColouredPdf(pdf, {Qt::red, Qt::green, Qt::blue});
    form.Charge(QString::fromStdString(pdf.string()));
    bool nextAgain = true;
    ui.onEvents = [&] {
        if (std::exchange(nextAgain, false))
            form.Button2Click(); // while page 2 renders
    };
    form.Button2Click();

    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(form.state.CurrentPage, 3);
    EXPECT_EQ(form.Label3->text(), QStringLiteral("3"));
    const QRgb shown = form.Image1->picture().pixel(100, 100);
    EXPECT_GT(qBlue(shown), 200);
    EXPECT_LT(qGreen(shown), 60);
}

// Counting a PDF's pages lets messages run: closing the window then ends the opening quietly.
TEST_F(Viewer, ClosingTheWindowWhileAPdfOpens)
{
    const auto pdf = dir / "Album.pdf";
    MakeColouredPdf(pdf, {Qt::red, Qt::green});
    ui.onEvents = [&] {
        if (ui.passes == 1)
            form.close();
    };
    form.Charge(QString::fromStdString(pdf.string()));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(form.state.CurrentFile.isEmpty());
    EXPECT_TRUE(thumbnailKeys().isEmpty());
}

// Counting a PDF's pages lets messages run: a book opened then waits for the PDF to be set up.
TEST_F(Viewer, BookOpenedWhileAPdfOpensTakesOverOnceItIsSetUp)
{
    const auto pdf = dir / "Album.pdf";
    MakeColouredPdf(pdf, {Qt::red, Qt::green});
    const QString book = writeBook("Livre.bd", 2, {}, 120, 80); // first page red
    ui.onEvents = [&] {
        if (ui.passes == 1)
            form.Charge(book);
    };
    form.Charge(QString::fromStdString(pdf.string()));

    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(form.state.CurrentFile, book);
    EXPECT_EQ(pageNames(), (QStringList{"1", "2"}));
    EXPECT_EQ(form.Label2->text(), QStringLiteral("Livre"));
    EXPECT_EQ(form.Image1->picture().size(), QSize(120, 80));
    EXPECT_EQ(form.state.PageWidth, 120);
    EXPECT_EQ(thumbnailKeys(), (QStringList{"ImageBD1", "ImageBD2"}));
}

// The page list of the book before is being replaced: it cannot be printed meanwhile.
TEST_F(Viewer, PrintCommandsWaitWhileAPdfOpens)
{
    form.Charge(writeBook("Livre.bd", 2));
    ASSERT_TRUE(form.Imprimer1->menuAction()->isEnabled());
    const auto pdf = dir / "Album.pdf";
    MakeColouredPdf(pdf, {Qt::red, Qt::green});
    bool printable = true;
    ui.onEvents = [&] {
        if (ui.passes == 1)
            printable = form.Imprimer1->menuAction()->isEnabled();
    };
    ui.passes = 0;
    form.Charge(QString::fromStdString(pdf.string()));

    EXPECT_FALSE(printable);
    EXPECT_TRUE(form.Imprimer1->menuAction()->isEnabled());
}

} // namespace
