#include "app/core/files/BookWriter.h"

#include "app/core/files/OpenBook.h"
#include "app/core/files/OpenFile.h"
#include "tests/support/BookFixture.h"
#include "tests/support/ConcurrentWriter.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/QtPath.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

OpenBook openBook(const std::filesystem::path &path)
{
    return OpenBook::open(QtPath(path));
}

// The book is open on the file and its stream reads its records.
void expectStreamReads(const OpenBook &book, std::int32_t records)
{
    ASSERT_TRUE(book.isOpen());
    EXPECT_EQ(ReadBookRecord(book.stream(), nullptr, INT32_MAX), records);
}

// Runs action in a child process that, when started as root, drops to the user nobody so
// that file permissions apply to it; true when action returned true.
bool runUnprivileged(const std::function<bool()> &action)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        _exit(action() ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace

TEST(WriteBookImages, WritesTheChainAndReplacesTheDestination)
{
    TempDir dir;
    const std::vector<Bytes> images = {MakeJpeg(8, 8, Qt::red), MakeJpeg(16, 4, Qt::blue),
                                       MakeJpeg(4, 16, Qt::green)};
    QStringList files;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto path = dir / ("image" + std::to_string(i) + ".jpg");
        WriteFileBytes(path, images[i]);
        files << QtPath(path);
    }
    WriteFileBytes(dir / "book.bd", Bytes(100'000, 'x'));

    WriteBookImages(files, QtPath(dir / "book.bd"));

    EXPECT_EQ(ReadFileBytes(dir / "book.bd"), AssembleBook(images));
    EXPECT_EQ(FileNamesIn(dir.path()),
              (std::vector<std::string>{"book.bd", "image0.jpg", "image1.jpg", "image2.jpg"}));
}

TEST(WriteBookImages, RefusesBadInputAndKeepsTheDestination)
{
    TempDir dir;
    const auto jpeg = dir / "page.jpg";
    WriteFileBytes(jpeg, MakeJpeg(8, 8));
    WriteFileBytes(dir / "empty.jpg", {});
    WriteFileBytes(dir / "text.jpg", ToBytes("pas une image"));
    WriteFileBytes(dir / "book.bd", MakeJpeg(4, 4));
    WriteFileBytes(dir / "huge.jpg", ToBytes("\xff\xd8"));
    std::filesystem::resize_file(dir / "huge.jpg", std::uintmax_t(INT32_MAX) + 1); // sparse
    WriteFileBytes(dir / "half.jpg", ToBytes("\xff\xd8"));
    std::filesystem::resize_file(dir / "half.jpg", std::uintmax_t(INT32_MAX) / 2 + 1);
    const Bytes before = ReadFileBytes(dir / "book.bd");

    struct Case {
        const char *name;
        QStringList files;
        std::string named; // the file the message names
    };
    const Case cases[] = {
        {"no file", {}, "book.bd"},
        {"missing source", {QtPath(jpeg), QtPath(dir / "missing.jpg")}, "missing.jpg"},
        {"empty source", {QtPath(dir / "empty.jpg")}, "empty.jpg"},
        {"not a JPEG", {QtPath(jpeg), QtPath(dir / "text.jpg")}, "text.jpg"},
        {"too large for a 32-bit length", {QtPath(jpeg), QtPath(dir / "huge.jpg")}, "huge.jpg"},
        {"book of 2 GiB or more", {QtPath(dir / "half.jpg"), QtPath(dir / "half.jpg")}, "book.bd"},
        {"destination among the sources", {QtPath(jpeg), QtPath(dir / "." / "book.bd")}, "book.bd"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            WriteBookImages(c.files, QtPath(dir / "book.bd"));
            ADD_FAILURE() << "no error";
        } catch (const UserError &error) {
            EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << error.what();
        }
        EXPECT_EQ(ReadFileBytes(dir / "book.bd"), before);
    }
    EXPECT_EQ(FileNamesIn(dir.path()),
              (std::vector<std::string>{"book.bd", "empty.jpg", "half.jpg", "huge.jpg", "page.jpg",
                                        "text.jpg"}));
}

TEST(WriteBookImages, MetaRecordMadeFromTheDigestsOfTheCopiedImagesComesLast)
{
    TempDir dir;
    const std::vector<Bytes> images = {MakeJpeg(8, 8, Qt::red), MakeJpeg(8, 8, Qt::blue)};
    WriteFileBytes(dir / "a.jpg", images[0]);
    WriteFileBytes(dir / "b.jpg", images[1]);
    const Bytes meta = MakeMetaRecord("{\\rtf1 x}\r\n", StandardMetaLines(images));
    std::vector<std::string> digests;

    WriteBookImages({QtPath(dir / "a.jpg"), QtPath(dir / "b.jpg")}, QtPath(dir / "book.bd"),
                    [&](const std::vector<std::string> &md5Texts) {
                        digests = md5Texts;
                        return meta;
                    });

    EXPECT_EQ(digests, (std::vector<std::string>{Md5TextOf(images[0]), Md5TextOf(images[1])}));
    EXPECT_EQ(ReadFileBytes(dir / "book.bd"), AssembleBook({images[0], images[1], meta}));
}

TEST(WriteBookImages, MetaRecordThatCannotBeMadeLeavesTheDestinationAsItWas)
{
    TempDir dir;
    WriteFileBytes(dir / "a.jpg", MakeJpeg(8, 8));
    WriteFileBytes(dir / "book.bd", ToBytes("avant"));

    EXPECT_THROW(WriteBookImages({QtPath(dir / "a.jpg")}, QtPath(dir / "book.bd"),
                                 [](const std::vector<std::string> &) -> Bytes {
                                     throw FileWriteError("description illisible");
                                 }),
                 FileWriteError);

    EXPECT_EQ(ReadFileBytes(dir / "book.bd"), ToBytes("avant"));
    EXPECT_EQ(FileNamesIn(dir.path()), (std::vector<std::string>{"a.jpg", "book.bd"}));
}

TEST(WriteDescription, ReplacesOnlyTheLastRecord)
{
    const Bytes cover = MakeJpeg(8, 8, Qt::blue), page = MakeJpeg(16, 8, Qt::green);
    const std::vector<std::string> metaLines = [&] {
        auto lines = StandardMetaLines({cover, page, page});
        lines.insert(lines.end(), {"%Reliure", "%ListePages", "2", "%Contraintes", "1", "3", "-1"});
        return lines;
    }();
    const Bytes tail = MakeMetaRecord("", metaLines);
    const Bytes oldMeta = MakeMetaRecord("{\\rtf1 ancienne}\r\n", metaLines);
    const Bytes newRtf = ToBytes("{\\rtf1 nouvelle description}\r\n");
    const auto joined = [](Bytes a, const Bytes &b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const Bytes odd = ToBytes("not an image");

    struct Case {
        const char *name;
        std::vector<Bytes> before;
        Bytes rtf;
        std::vector<Bytes> after;
    };
    const std::vector<Case> cases = {
        {"book made with a description: metadata kept byte for byte",
         {cover, page, page, oldMeta},
         newRtf,
         {cover, page, page, joined(newRtf, tail)}},
        {"book without meta record: description added as last record",
         {page, page},
         newRtf,
         {page, page, newRtf}},
        {"meta record without %EOF: only the new description",
         {page, ToBytes("{\\rtf1 rien}")},
         newRtf,
         {page, newRtf}},
        {"record that is no image in the middle: every later page kept",
         {page, odd, page, oldMeta},
         newRtf,
         {page, odd, page, joined(newRtf, tail)}},
        {"description with no line break before %EOF: tail still kept",
         {page, MakeMetaRecord("{\\rtf1 a}", metaLines)},
         newRtf,
         {page, joined(newRtf, tail)}},
        {"an empty last record is an empty meta record: replaced, the page kept",
         {page, {}, {}},
         newRtf,
         {page, newRtf}},
        {"empty description keeps the metadata", {page, oldMeta}, {}, {page, tail}},
        {"empty description on a book without meta record adds nothing", {page}, {}, {page}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto path = dir / "livre.bd";
        WriteFileBytes(path, AssembleBook(c.before));
        std::filesystem::permissions(path, std::filesystem::perms(0640));
        OpenBook book = openBook(path);
        RecordingPrompter prompter;

        EXPECT_TRUE(WriteDescription(book, prompter, c.rtf));

        EXPECT_EQ(ReadFileBytes(path), AssembleBook(c.after));
        EXPECT_TRUE(prompter.messages.empty());
        expectStreamReads(book, std::int32_t(c.after.size()));
        EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
        EXPECT_EQ(FileNamesIn(dir.path()), std::vector<std::string>{"livre.bd"});
    }
}

// The book is opened again: its pages, and its new last record, are read where they now lie.
TEST(WriteDescription, RecordsAreReadFromTheRewrittenBook)
{
    const Bytes page = MakeJpeg(16, 8, Qt::green), other = MakeJpeg(8, 16, Qt::red);
    const Bytes meta = MakeMetaRecord("{\\rtf1 courte}\r\n", StandardMetaLines({page, other}));
    TempDir dir;
    const auto path = dir / "livre.bd";
    WriteFileBytes(path, AssembleBook({page, other, meta}));
    OpenBook book = openBook(path);
    RecordingPrompter prompter;

    const Bytes rtf = ToBytes("{\\rtf1 une description bien plus longue que la premi\\'e8re}\r\n");
    WriteDescription(book, prompter, rtf);

    const Bytes tail = MakeMetaRecord("", StandardMetaLines({page, other}));
    Bytes newMeta = rtf;
    newMeta.insert(newMeta.end(), tail.begin(), tail.end());
    const std::vector<Bytes> expected{page, other, newMeta};
    for (std::int32_t k = 0; k < 3; ++k) {
        Bytes record;
        ASSERT_TRUE(book.read(k, record)) << k;
        EXPECT_EQ(record, expected[std::size_t(k)]) << k;
    }
}

namespace {

// The records of a book whose description is made rtf, as a save gives them: the meta record
// keeps its lines from "%EOF" on.
std::vector<Bytes> WithDescription(std::vector<Bytes> records, const Bytes &rtf)
{
    Bytes meta = rtf;
    const Bytes &old = records.back();
    const std::int32_t eof = FindBytes("%EOF", old.data(), std::int32_t(old.size()), 1);
    meta.insert(meta.end(), old.begin() + eof, old.end());
    records.back() = meta;
    return records;
}

} // namespace

// Another program leaves something else at the path of the open book before its description
// is saved: the save applies, whole, to the book at the path when it starts; when that is no
// book, the file stays as the other program left it and "Impossible d'ouvrir" says why.
TEST(WriteDescription, AppliesWholeToTheBookAtThePathWhenTheSaveStarts)
{
    const Bytes page = MakeJpeg(64, 48, Qt::green), other = MakeJpeg(120, 90, Qt::blue);
    const std::vector<Bytes> opened = {
        page, page, MakeMetaRecord("{\\rtf1 ancienne}\r\n", StandardMetaLines({page, page}))};
    // The other program's book: other pages, its own meta record.
    const std::vector<Bytes> replacing = {
        other, other, other,
        MakeMetaRecord("{\\rtf1 autre}\r\n", StandardMetaLines({other, other, other}))};
    const std::vector<Bytes> grown = {page, page, other, opened.back()};
    const Bytes rtf = ToBytes("{\\rtf1 nouvelle description}\r\n");

    struct Case {
        const char *name;
        std::function<void(const std::filesystem::path &)> change;
        std::optional<std::vector<Bytes>> saved; // none: refused, left as the change made it
    };
    const Case cases[] = {
        {"renamed over by another book",
         [&](const std::filesystem::path &path) {
             WriteFileBytes(path.string() + ".tmp", AssembleBook(replacing));
             std::filesystem::rename(path.string() + ".tmp", path);
         },
         WithDescription(replacing, rtf)},
        {"copied over, same inode",
         [&](const std::filesystem::path &path) { WriteFileBytes(path, AssembleBook(replacing)); },
         WithDescription(replacing, rtf)},
        {"grown in place by a page",
         [&](const std::filesystem::path &path) { WriteFileBytes(path, AssembleBook(grown)); },
         WithDescription(grown, rtf)},
        {"cut in place to its pages",
         [&](const std::filesystem::path &path) {
             WriteFileBytes(path, AssembleBook({page, page}));
         },
         std::vector<Bytes>{page, page, rtf}},
        {"appended to",
         [](const std::filesystem::path &path) {
             std::ofstream(path, std::ios::binary | std::ios::app) << "la suite";
         },
         std::nullopt},
        {"truncated",
         [](const std::filesystem::path &path) {
             std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
         },
         std::nullopt},
        {"removed", [](const std::filesystem::path &path) { std::filesystem::remove(path); },
         std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto path = dir / "livre.bd";
        WriteFileBytes(path, AssembleBook(opened));
        OpenBook book = openBook(path);
        c.change(path);
        const bool there = std::filesystem::exists(path);
        const Bytes left = there ? ReadFileBytes(path) : Bytes();
        RecordingPrompter prompter;

        EXPECT_EQ(WriteDescription(book, prompter, rtf), c.saved.has_value());

        if (c.saved) {
            const Bytes expected = AssembleBook(*c.saved);
            const Bytes written = ReadFileBytes(path);
            EXPECT_EQ(written, expected) << left.size() << " bytes at the path became "
                                         << written.size() << ", not " << expected.size();
            EXPECT_TRUE(prompter.messages.empty());
            expectStreamReads(book, std::int32_t(c.saved->size()));
        } else {
            EXPECT_EQ(prompter.texts(), std::vector<QString>{CannotOpenFileMessage(QtPath(path))});
            EXPECT_EQ(std::filesystem::exists(path), there);
            if (there) {
                EXPECT_EQ(ReadFileBytes(path), left);
            }
            EXPECT_TRUE(book.isOpen());
        }
        EXPECT_EQ(FileNamesIn(dir.path()),
                  there ? std::vector<std::string>{"livre.bd"} : std::vector<std::string>{});
    }
}

// A second process writes new versions of the book while its description is saved again and
// again, in place through a descriptor of its own or by renaming them over it; each version
// has its own layout and is longer than the one before. A save is refused with "a été modifié
// pendant l'enregistrement" or, when it read a version being written, "Impossible d'ouvrir";
// otherwise it applies whole to one version. Once the other process is done, the file at the
// path is its last version, or one of its versions with the new description.
TEST(WriteDescription, ASecondProcessWritingTheBookMeanwhileIsNeverMixedIn)
{
    const Bytes page = MakeJpeg(64, 48, Qt::green);
    const Bytes meta = MakeMetaRecord("{\\rtf1 version}\r\n", {"%EOF", "%MD5"});
    constexpr int Versions = 400;
    std::vector<std::vector<Bytes>> records;
    std::vector<Bytes> versions;
    for (int k = 0; k < Versions; ++k) {
        Bytes first = page; // bytes after the picture's end are no part of it
        first.resize(first.size() + std::size_t(k) * 3, 0);
        records.push_back({first, page, meta});
        versions.push_back(AssembleBook(records.back()));
    }
    const Bytes rtf = ToBytes("{\\rtf1 nouvelle description}\r\n");

    for (const bool inPlace : {true, false}) {
        SCOPED_TRACE(inPlace ? "written in place" : "renamed over");
        TempDir dir;
        const auto path = dir / "livre.bd";
        WriteFileBytes(path, versions[0]);
        OpenBook book = openBook(path);
        ConcurrentWriter writer(path, {versions.begin() + 1, versions.end()},
                                inPlace ? ConcurrentWriter::Way::InPlace
                                        : ConcurrentWriter::Way::RenamedOver);
        ASSERT_TRUE(writer.started());

        const QString changed =
            "Le fichier " + QtPath(path) + " a été modifié pendant l'enregistrement.";
        while (writer.running()) {
            RecordingPrompter prompter;
            try {
                if (!WriteDescription(book, prompter, rtf)) {
                    EXPECT_EQ(prompter.texts(),
                              std::vector<QString>{CannotOpenFileMessage(QtPath(path))});
                }
            } catch (const FileChangedError &error) {
                EXPECT_EQ(QString::fromStdString(error.what()), changed);
            }
        }
        ASSERT_TRUE(writer.succeeded());

        const Bytes left = ReadFileBytes(path);
        bool known = left == versions.back();
        for (std::size_t k = 0; !known && k < records.size(); ++k)
            known = left == AssembleBook(WithDescription(records[k], rtf));
        EXPECT_TRUE(known) << left.size() << " bytes, neither a version nor a version described";
        EXPECT_EQ(FileNamesIn(dir.path()), std::vector<std::string>{"livre.bd"});
    }
}

TEST(WriteDescription, LeavesAPdfDocumentAlone)
{
    TempDir dir;
    const auto path = dir / "document.PDF";
    const Bytes pdf = ToBytes("%PDF-1.4\n%%EOF\n");
    WriteFileBytes(path, pdf);
    OpenBook book = openBook(path);
    RecordingPrompter prompter;

    EXPECT_FALSE(WriteDescription(book, prompter, ToBytes("{\\rtf1 x}")));

    EXPECT_EQ(ReadFileBytes(path), pdf);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(WriteDescription, UnreadableBookGetsTheErrorBoxAndStaysAsItWas)
{
    Bytes negativeTrailer = AssembleBook({MakeJpeg(8, 8), MakeJpeg(8, 8)});
    negativeTrailer.resize(negativeTrailer.size() - 10);
    negativeTrailer.insert(negativeTrailer.end(), {0, 0, 0, 0x80});
    const std::pair<const char *, Bytes> cases[] = {
        {"corrupt chain", negativeTrailer},
        {"empty file", {}},
        {"no image, only a meta record", AssembleBook({ToBytes("%EOF\r\n%MD5\r\n")})},
    };
    for (const auto &[name, bytes] : cases) {
        SCOPED_TRACE(name);
        TempDir dir;
        const auto path = dir / "abîmé.bd";
        WriteFileBytes(path, bytes);
        OpenBook book = openBook(path);
        RecordingPrompter prompter;

        EXPECT_FALSE(WriteDescription(book, prompter, ToBytes("{\\rtf1 x}")));

        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text,
                  QStringLiteral("Impossible d'ouvrir le fichier ") + QtPath(path) + ".");
        EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(ReadFileBytes(path), bytes);
        EXPECT_TRUE(book.isOpen());
    }
}

TEST(WriteDescription, FailedWriteLeavesTheBookIntactAndTheStreamOpen)
{
    TempDir dir;
    const auto path = dir / "livre.bd";
    const Bytes page = MakeJpeg(64, 64, Qt::darkCyan);
    const Bytes book = AssembleBook({page, page, page, MakeMetaRecord("", {"%EOF", "%MD5"})});
    WriteFileBytes(path, book);
    OpenBook open = openBook(path);
    RecordingPrompter prompter;

    {
        const FileSizeLimit limit(book.size() / 2);
        EXPECT_THROW(WriteDescription(open, prompter, ToBytes("{\\rtf1 x}")), FileWriteError);
    }

    EXPECT_EQ(ReadFileBytes(path), book);
    EXPECT_EQ(FileNamesIn(dir.path()), std::vector<std::string>{"livre.bd"});
    expectStreamReads(open, 4);
}

TEST(BookWriting, ReadOnlyBookIsRefusedAndKept)
{
    TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    const Bytes page = MakeJpeg(8, 8);
    WriteFileBytes(dir / "page.jpg", page);
    const auto path = dir / "livre.bd";
    const Bytes book = AssembleBook({page, page});
    const std::pair<const char *, std::function<void(OpenBook &)>> cases[] = {
        {"description",
         [](OpenBook &open) {
             RecordingPrompter prompter;
             WriteDescription(open, prompter, ToBytes("{\\rtf1 x}"));
         }},
        {"new book in its place",
         [&](OpenBook &) { WriteBookImages({QtPath(dir / "page.jpg")}, QtPath(path)); }},
    };
    for (const auto &[name, write] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove(path);
        WriteFileBytes(path, book);
        std::filesystem::permissions(path, std::filesystem::perms(0444));

        EXPECT_TRUE(runUnprivileged([&, &write = write] {
            OpenBook open = openBook(path);
            try {
                write(open);
                return false;
            } catch (const FileWriteError &error) {
                return error.what() == "Impossible d'écrire le fichier " + path.string() + "." &&
                       open.isOpen();
            }
        }));
        EXPECT_EQ(ReadFileBytes(path), book);
        EXPECT_EQ(FileNamesIn(dir.path()), (std::vector<std::string>{"livre.bd", "page.jpg"}));
    }
}

// A book under a name as long as a name may be is created and gets its description.
TEST(BookWriting, NamesOfEveryLengthAreWritten)
{
    const Bytes page = MakeJpeg(8, 8);
    const Bytes rtf = ToBytes("{\\rtf1 longue}\r\n");
    for (const std::size_t length : {247, 248, 255}) {
        SCOPED_TRACE(std::to_string(length) + " bytes");
        TempDir dir;
        WriteFileBytes(dir / "page.jpg", page);
        const std::string name = std::string(length - 3, 'n') + ".bd";
        const auto path = dir / name;

        WriteBookImages({QtPath(dir / "page.jpg")}, QtPath(path));
        EXPECT_EQ(ReadFileBytes(path), AssembleBook({page}));
        OpenBook book = openBook(path);
        RecordingPrompter prompter;
        EXPECT_TRUE(WriteDescription(book, prompter, rtf));

        EXPECT_EQ(ReadFileBytes(path), AssembleBook({page, rtf}));
        EXPECT_TRUE(prompter.messages.empty());
        EXPECT_EQ(FileNamesIn(dir.path()), (std::vector<std::string>{name, "page.jpg"}));
    }
}
