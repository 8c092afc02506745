#include "app/core/tools/PdfToBook.h"

#include "app/core/render/Ghostscript.h"
#include "app/core/seams/UiHooks.h"
#include "app/text/UserError.h"
#include "tests/support/BookFixture.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/ScriptedPrograms.h"
#include "tests/support/TempDir.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A page as the splitter sees it: the start marker, then size - 10 bytes that never hold a
// 0xFF byte, so no marker either; each page has its own filling.
Bytes FakePage(std::size_t size, std::uint8_t seed)
{
    Bytes page(JfifStartMarker.begin(), JfifStartMarker.end());
    for (std::size_t i = page.size(); i < size; ++i)
        page.push_back(std::uint8_t((i * 7 + seed) % 255));
    return page;
}

Bytes Concatenated(const std::vector<Bytes> &pages)
{
    Bytes all;
    for (const Bytes &page : pages)
        all.insert(all.end(), page.begin(), page.end());
    return all;
}

std::vector<Bytes> FilesBytes(const QStringList &paths)
{
    std::vector<Bytes> contents;
    for (const QString &path : paths)
        contents.push_back(ReadFileBytes(path.toStdString()));
    return contents;
}

TEST(SplitJpegPages, EachPieceIsOnePageByteForByte)
{
    constexpr qint64 Big = JpegChunkLimit + 5;
    const struct {
        const char *name;
        std::vector<std::size_t> pageSizes;
        qint64 chunkLimit;
    } cases[] = {
        {"one page: the marker at offset 0 starts no second piece", {500}, JpegChunkLimit},
        {"three pages", {700, 650, 900}, JpegChunkLimit},
        {"empty output: no piece", {}, JpegChunkLimit},
        {"pages of the marker alone", {10, 10, 10}, 20},
        {"pages larger than the chunk", {200, 30, 150}, 64},
        {"next marker across the chunk's end", {60, 100}, 64},
        {"next marker right at the chunk's end", {64, 40}, 64},
        {"a page larger than the whole read limit", {std::size_t(Big), 1000}, JpegChunkLimit},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<Bytes> pages;
        for (std::size_t size : c.pageSizes)
            pages.push_back(FakePage(size, std::uint8_t(pages.size() * 40)));
        WriteFileBytes(dir / "Album.jpg", Concatenated(pages));

        const QString prefix = QtPath(dir / "Album.jpg");
        const QStringList pieces = SplitJpegPages(prefix, prefix, c.chunkLimit);

        QStringList names;
        for (std::size_t k = 0; k < pages.size(); ++k)
            names << prefix + QString::number(k);
        EXPECT_EQ(pieces, names);
        EXPECT_TRUE(FilesBytes(pieces) == pages);
    }
}

TEST(SplitJpegPages, AnOutputThatCannotBeReadRaisesAnError)
{
    TempDir dir;
    const QString missing = QtPath(dir / "absent.jpg");
    EXPECT_THROW(SplitJpegPages(missing, missing), FileReadError);
}

// Sets TMPDIR to a folder of the test's own for the life of the object.
class PrivateTemp {
public:
    PrivateTemp()
    {
        fs::create_directory(dir_ / "tmp");
        setenv("TMPDIR", (dir_ / "tmp").c_str(), 1);
    }
    ~PrivateTemp() { unsetenv("TMPDIR"); }

    fs::path path() const { return dir_ / "tmp"; }
    // Whatever the command left behind.
    std::vector<std::string> leftovers() const { return FileNamesIn(path()); }

private:
    TempDir dir_;
};

// The command with a scripted console program and save dialog.
struct Command {
    TempDir dir;
    TempDir documents;
    PrivateTemp temp;
    RecordingPrompter prompter;
    NoUiHooks ui;
    ScriptedPrograms programs;
    std::vector<int> frames;
    bool keepWaiting = true;
    std::optional<QString> book; // the save dialog's answer
    int saveDialogs = 0;

    void run(const QString &pdf)
    {
        PdfToBook(pdf,
                  {prompter, ui, programs, FindGhostscriptDir(),
                   [this](int frame) { frames.push_back(frame); }, [this] { return keepWaiting; },
                   [this] {
                       ++saveDialogs;
                       return book;
                   }});
    }

    // A document to convert, of bytes the reader of page sizes does not take for a PDF.
    QString document(const char *name, const std::string &bytes = "pas un PDF")
    {
        WriteFileBytes(documents / name, ToBytes(bytes));
        return QtPath(documents / name);
    }

    // The console program replaced by one that writes pages into its output and polls.
    void scriptOutput(const std::vector<Bytes> &pages, int polls = 0)
    {
        programs.script([pages, polls](const ProgramCall &call, const std::function<bool()> &poll) {
            const QString output = call.arguments.filter("-sOutputFile=").value(0).mid(13);
            WriteFileBytes(output.toStdString(), Concatenated(pages));
            for (int i = 0; i < polls; ++i)
                poll();
            return ProgramExit{};
        });
    }
};

TEST(PdfToBook, RunsTheConsoleProgramThenWritesItsPagesAsTheBook)
{
    Command command;
    const std::vector<Bytes> pages = {MakeJpeg(40, 60, Qt::red), MakeJpeg(40, 60, Qt::blue)};
    command.scriptOutput(pages, 13);
    command.book = QtPath(command.dir / "Livre.txt");
    const QString pdf = command.document("Mon album.pdf");

    command.run(pdf);

    ASSERT_EQ(command.programs.calls.size(), 1u);
    const ProgramCall &call = command.programs.calls[0];
    EXPECT_EQ(call.program, GhostscriptConsolePath(FindGhostscriptDir()));
    const QString output = call.workingDirectory + "/Mon album.jpg";
    EXPECT_EQ(QFileInfo(output).path(), call.workingDirectory);
    EXPECT_TRUE(call.workingDirectory.startsWith(QtPath(command.temp.path()) + '/'));
    // The document is read through the opening the command made of it.
    ASSERT_EQ(call.arguments.size(), 7);
    EXPECT_EQ(call.arguments.mid(0, 6),
              QStringList({"-dBATCH", "-dSAFER", "-dNOPAUSE", "-sDEVICE=jpeg", "-r200x200",
                           "-sOutputFile=" + output}));
    EXPECT_TRUE(
        QRegularExpression("^-f/proc/[0-9]+/fd/[0-9]+$").match(call.arguments[6]).hasMatch())
        << call.arguments[6].toStdString();
    // One frame when the wait begins, then one per poll, round the twelve.
    EXPECT_EQ(command.frames, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1}));

    EXPECT_EQ(command.saveDialogs, 1);
    EXPECT_TRUE(command.prompter.messages.empty());
    // The chosen name gets the extension .bd; the book holds the pages and no meta record.
    EXPECT_TRUE(ReadFileBytes(command.dir / "Livre.bd") == AssembleBook(pages));
    EXPECT_FALSE(fs::exists(command.dir / "Livre.txt"));
    EXPECT_TRUE(command.temp.leftovers().empty());
}

TEST(PdfToBook, APercentSignInTheNameIsNoPatternForGhostscript)
{
    Command command;
    const fs::path pdf = command.dir / "Album 100%d.pdf";
    MakeGhostscriptPdf(command.dir / "Album.pdf", 2);
    fs::rename(command.dir / "Album.pdf", pdf);
    command.book = QtPath(command.dir / "Livre.bd");

    command.run(QtPath(pdf));

    ASSERT_EQ(command.programs.calls.size(), 1u);
    EXPECT_TRUE(command.programs.calls[0].arguments.contains(
        "-sOutputFile=" + command.programs.calls[0].workingDirectory + "/Album 100%%d.jpg"));
    ASSERT_EQ(command.prompter.texts(), std::vector<QString>{});
    std::ifstream book(command.dir / "Livre.bd", std::ios::binary);
    EXPECT_EQ(ReadBookRecord(book, nullptr, INT32_MAX), 2);
    EXPECT_TRUE(command.temp.leftovers().empty());
}

// Pages larger than a page may be at 200 dpi are rendered at the resolution that fits, by a
// run of the console program of their own, and the others at 200 dpi, each into the raster of
// its size.
TEST(PdfToBook, EachRunOfPagesOfOneRasterIsRenderedIntoIt)
{
    std::string kids;
    PdfBuilder::Objects objects = {{1, "<< /Type /Catalog /Pages 2 0 R >>"}};
    const std::vector<std::string> boxes = {"0 0 72 72", "0 0 72 72", "0 0 14400 14400",
                                            "0 0 36 72"};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        kids += std::to_string(i + 3) + " 0 R ";
        objects.emplace_back(int(i) + 3,
                             "<< /Type /Page /Parent 2 0 R /MediaBox [" + boxes[i] + "] >>");
    }
    objects.insert(objects.begin() + 1, {2, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                                                std::to_string(boxes.size()) + " >>"});
    Command command;
    const fs::path pdf = command.dir / "Affiches.pdf";
    PdfBuilder().section(objects, "/Root 1 0 R").write(pdf);
    command.book = QtPath(command.dir / "Affiches.bd");

    command.run(QtPath(pdf));

    const auto raster = [](const ProgramCall &call) { return call.arguments.mid(4, 5).join(' '); };
    ASSERT_EQ(command.programs.calls.size(), 3u);
    EXPECT_EQ(raster(command.programs.calls[0]),
              "-r200x200 -g200x200 -dFIXEDMEDIA -dFirstPage=1 -dLastPage=2");
    EXPECT_TRUE(raster(command.programs.calls[1])
                    .endsWith(" -g5792x5792 -dFIXEDMEDIA "
                              "-dFirstPage=3 -dLastPage=3"));
    EXPECT_EQ(raster(command.programs.calls[2]),
              "-r200x200 -g100x200 -dFIXEDMEDIA -dFirstPage=4 -dLastPage=4");
    EXPECT_EQ(command.prompter.texts(), std::vector<QString>{});
    std::ifstream book(command.dir / "Affiches.bd", std::ios::binary);
    const std::vector<QSize> sizes = {{200, 200}, {200, 200}, {5792, 5792}, {100, 200}};
    ASSERT_EQ(ReadBookRecord(book, nullptr, INT32_MAX), 4);
    for (std::int32_t i = 0; i < 4; ++i) {
        Bytes page;
        ReadBookRecord(book, &page, i);
        QByteArray bytes(reinterpret_cast<const char *>(page.data()), qsizetype(page.size()));
        QBuffer buffer(&bytes);
        EXPECT_EQ(QImageReader(&buffer, "jpeg").size(), sizes[std::size_t(i)]) << i;
    }
    EXPECT_TRUE(command.temp.leftovers().empty());
}

// What another program puts at the document's path while it is converted is never read.
TEST(PdfToBook, TheConsoleProgramReadsTheDocumentThatWasOpened)
{
    Command command;
    const QString pdf = command.document("Album.pdf", "le document choisi");
    std::optional<Bytes> read;
    command.programs.script([&](const ProgramCall &call, const std::function<bool()> &) {
        WriteFileBytes(command.documents / "autre.pdf", ToBytes("un autre document"));
        fs::rename(command.documents / "autre.pdf", command.documents / "Album.pdf");
        read = ReadFileBytes(call.arguments.filter("-f").value(0).mid(2).toStdString());
        return ProgramExit{};
    });
    command.run(pdf);
    EXPECT_TRUE(read == ToBytes("le document choisi"));
}

// A document that cannot be opened is named, and nothing runs.
TEST(PdfToBook, ADocumentThatCannotBeOpenedIsNamed)
{
    Command command;
    const QString pdf = QtPath(command.documents / "absent.pdf");
    command.run(pdf);
    EXPECT_EQ(command.prompter.texts(),
              std::vector<QString>{"Impossible d'ouvrir le fichier " + pdf + "."});
    EXPECT_TRUE(command.programs.calls.empty());
    EXPECT_TRUE(command.temp.leftovers().empty());
}

TEST(PdfToBook, AFailedConversionIsReportedAndWritesNoBook)
{
    TempDir documents;
    WriteFileBytes(documents / "Album.pdf", ToBytes("pas un PDF"));
    const QString pdf = QtPath(documents / "Album.pdf");
    const struct {
        const char *name;
        ScriptedPrograms::Script program;
        QString message; // none: the user closed the window
    } cases[] = {
        {"exit status 1",
         [](const ProgramCall &, const std::function<bool()> &) {
             return ProgramExit{ProgramExit::Outcome::Exited, 1};
         },
         "Ghostscript n'a pas pu convertir le fichier " + pdf + "."},
        {"crash",
         [](const ProgramCall &, const std::function<bool()> &) {
             return ProgramExit{ProgramExit::Outcome::Crashed, -1};
         },
         "Ghostscript n'a pas pu convertir le fichier " + pdf + "."},
        {"not started",
         [](const ProgramCall &, const std::function<bool()> &) {
             return ProgramExit{ProgramExit::Outcome::NotStarted, -1};
         },
         "Impossible de lancer Ghostscript."},
        {"no output file",
         [](const ProgramCall &, const std::function<bool()> &) { return ProgramExit{}; },
         "Ghostscript n'a produit aucune page à partir du fichier " + pdf + "."},
        {"empty output file",
         [](const ProgramCall &call, const std::function<bool()> &) {
             WriteFileBytes(call.workingDirectory.toStdString() + "/Album.jpg", {});
             return ProgramExit{};
         },
         "Ghostscript n'a produit aucune page à partir du fichier " + pdf + "."},
        {"window closed while waiting",
         [](const ProgramCall &call, const std::function<bool()> &poll) {
             WriteFileBytes(call.workingDirectory.toStdString() + "/Album.jpg", FakePage(100, 0));
             return poll() ? ProgramExit{} : ProgramExit{ProgramExit::Outcome::Stopped, -1};
         },
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Command command;
        command.programs.script(c.program);
        command.keepWaiting = false;
        command.book = QtPath(command.dir / "Livre.bd");

        command.run(pdf);

        EXPECT_EQ(command.prompter.texts(),
                  c.message.isNull() ? std::vector<QString>{} : std::vector<QString>{c.message});
        EXPECT_EQ(command.saveDialogs, 0);
        EXPECT_TRUE(FileNamesIn(command.dir.path()).empty());
        EXPECT_TRUE(command.temp.leftovers().empty());
    }
}

TEST(PdfToBook, TheBookIsWrittenOnlyUnderANameTheUserAgreedTo)
{
    const Bytes previous = ToBytes("previous book");
    const struct {
        const char *name;
        std::optional<QString> chosen;
        bool replaceAnswer;
        bool written;
        std::vector<QString> questions;
    } cases[] = {
        {"save dialog cancelled", std::nullopt, false, false, {}},
        // The dialog asked about the name it gave.
        {"the existing book chosen", "Livre.bd", false, true, {}},
        {"another name whose .bd exists, kept", "Livre.txt", false, false, {"Livre.bd"}},
        {"another name whose .bd exists, replaced", "Livre.txt", true, true, {"Livre.bd"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Command command;
        WriteFileBytes(command.dir / "Livre.bd", previous);
        const std::vector<Bytes> pages = {MakeJpeg(30, 30)};
        command.scriptOutput(pages);
        if (c.chosen)
            command.book = QtPath(command.dir / c.chosen->toStdString());
        command.prompter.answer(c.replaceAnswer ? MessageAnswer::Yes : MessageAnswer::No);

        command.run(command.document("Album.pdf"));

        std::vector<QString> questions;
        for (const QString &name : c.questions)
            questions.push_back("Le fichier " + QtPath(command.dir / name.toStdString()) +
                                " existe déjà.\r\nVoulez-vous le remplacer ?");
        EXPECT_EQ(command.prompter.texts(), questions);
        EXPECT_TRUE(ReadFileBytes(command.dir / "Livre.bd") ==
                    (c.written ? AssembleBook(pages) : previous));
        EXPECT_TRUE(command.temp.leftovers().empty());
    }
}

} // namespace
