#include "app/core/creation/CreateBook.h"

#include "tests/support/BookFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {

// One page, a description and an earlier book in a fresh folder.
struct CreationFolder {
    TempDir dir;
    Bytes page = MakeJpeg(8, 8);
    Bytes earlier = ToBytes("un autre livre");

    CreationFolder()
    {
        WriteFileBytes(dir / "page.jpg", page);
        WriteFileBytes(dir / "autre.jpg", page);
        WriteFileBytes(dir / "desc.rtf", ToBytes("{\\rtf1 x}\r\n"));
        WriteFileBytes(dir / "livre.bd", earlier);
    }

    QString file(const std::string &name) const { return QtPath(dir / name); }

    CreationContent content() const
    {
        CreationContent content;
        content.PageFiles = {file("page.jpg")};
        return content;
    }
};

const QString Success = QStringLiteral("La création a été effectuée avec succès.");

TEST(CreateBook, ChecksInOrderAndWritesNothingWhenOneFails)
{
    const CreationFolder folder;
    using Change = std::function<void(CreationContent &, CreationTarget &)>;
    const struct {
        const char *name;
        Change change;
        MessageIcon icon;
        QString message;
    } cases[] = {
        {"no page",
         [](CreationContent &c, CreationTarget &) {
             c.QuatrsFiles = c.PageFiles;
             c.PageFiles.clear();
             c.QuatrsChecked = true;
             c.DescriptionChecked = true;
         },
         MessageIcon::Information, QStringLiteral("Il faut choisir les pages.")},
        {"description wanted, none chosen",
         [](CreationContent &c, CreationTarget &t) {
             c.DescriptionChecked = true;
             t.destination.clear();
         },
         MessageIcon::Information,
         QStringLiteral("Il faut choisir le fichier pour décrire le livre ou décocher la "
                        "fonctionnalité.")},
        {"no destination", [](CreationContent &, CreationTarget &t) { t.destination.clear(); },
         MessageIcon::Information, QStringLiteral("Il faut choisir le fichier de destination.")},
        {"the open book",
         [&](CreationContent &, CreationTarget &t) {
             t.openBook = QtPath(folder.dir / "." / "livre.bd");
             t.replaceConfirmed = true;
         },
         MessageIcon::Error,
         QStringLiteral("Le fichier ") + folder.file("livre.bd") +
             QStringLiteral(" est la bande dessinée ouverte : il ne peut pas être remplacé.")},
        {"the description file",
         [&](CreationContent &c, CreationTarget &t) {
             c.DescriptionChecked = true;
             c.Description = folder.file("desc.rtf");
             t.destination = c.Description;
             t.replaceConfirmed = true;
         },
         MessageIcon::Error,
         QStringLiteral("Le fichier ") + folder.file("desc.rtf") +
             QStringLiteral(" est aussi le fichier qui décrit le livre.")},
        {"one of the pages, typed",
         [&](CreationContent &, CreationTarget &t) { t.destination = folder.file("page.jpg"); },
         MessageIcon::Error,
         QStringLiteral("Le fichier ") + folder.file("page.jpg") +
             QStringLiteral(" est aussi une des images de la bande dessinée.")},
        {"the cover, chosen in the save dialog",
         [&](CreationContent &c, CreationTarget &t) {
             c.CoverChecked = true;
             c.Cover = folder.file("page.jpg");
             c.PageFiles = {folder.file("autre.jpg")};
             t.destination = QtPath(folder.dir / "." / "page.jpg");
             t.replaceConfirmed = true;
         },
         MessageIcon::Error,
         QStringLiteral("Le fichier ") + QtPath(folder.dir / "." / "page.jpg") +
             QStringLiteral(" est aussi une des images de la bande dessinée.")},
        {"a back cover in use",
         [&](CreationContent &c, CreationTarget &t) {
             c.QuatrsChecked = true;
             c.QuatrsFiles = {folder.file("page.jpg")};
             c.PageFiles = {folder.file("autre.jpg")};
             t.destination = folder.file("page.jpg");
         },
         MessageIcon::Error,
         QStringLiteral("Le fichier ") + folder.file("page.jpg") +
             QStringLiteral(" est aussi une des images de la bande dessinée.")},
        {"a page that is not a JPEG",
         [&](CreationContent &c, CreationTarget &t) {
             c.PageFiles << folder.file("desc.rtf");
             t.replaceConfirmed = true;
         },
         MessageIcon::Error,
         QStringLiteral("Le fichier ") + folder.file("desc.rtf") +
             QStringLiteral(" n'est pas une image JPEG.")},
        {"a constraint on no file of the lists",
         [&](CreationContent &c, CreationTarget &t) {
             c.Constraints = {{folder.file("PAGE.jpg"), 1, 0}};
             t.replaceConfirmed = true;
         },
         MessageIcon::Information,
         QStringLiteral("Impossible de trouver la contrainte, ce qui implique une impossibilité "
                        "de créer le fichier.")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CreationContent content = folder.content();
        CreationTarget target{folder.file("livre.bd"), QString(), false};
        c.change(content, target);
        RecordingPrompter prompter;

        EXPECT_FALSE(CreateBook(content, target, prompter));

        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, c.message);
        EXPECT_EQ(prompter.messages[0].icon, c.icon);
        EXPECT_EQ(ReadFileBytes(folder.dir / "livre.bd"), folder.earlier);
        EXPECT_EQ(ReadFileBytes(folder.dir / "page.jpg"), folder.page);
    }
}

TEST(CreateBook, ReplacesAnExistingFileOnlyOnceConfirmed)
{
    const CreationFolder folder;
    const QString question = QStringLiteral("Le fichier ") + folder.file("livre.bd") +
                             QStringLiteral(" existe déjà. Voulez-vous le remplacer ?");
    const struct {
        const char *name;
        bool confirmedByTheDialog;
        std::optional<MessageAnswer> answer; // none: no question
        bool replaced;
    } cases[] = {
        {"typed, answered no", false, MessageAnswer::No, false},
        {"typed, answered yes", false, MessageAnswer::Yes, true},
        {"chosen in the save dialog", true, std::nullopt, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(folder.dir / "livre.bd", folder.earlier);
        RecordingPrompter prompter;
        if (c.answer)
            prompter.answer(*c.answer);

        const CreationTarget target{folder.file("livre.bd"), QString(), c.confirmedByTheDialog};
        EXPECT_EQ(CreateBook(folder.content(), target, prompter), c.replaced);

        std::vector<QString> expected;
        if (c.answer)
            expected.push_back(question);
        if (c.replaced)
            expected.push_back(Success);
        EXPECT_EQ(prompter.texts(), expected);
        EXPECT_EQ(ReadFileBytes(folder.dir / "livre.bd") == folder.earlier, !c.replaced);
    }
}

// A symbolic link as destination is asked about whether its file exists or not, and stays a
// link to the new book.
TEST(CreateBook, ALinkAsDestinationIsAskedAboutAndWrittenThrough)
{
    const CreationFolder folder;
    const QString link = folder.file("lien.bd");
    const QString question = QStringLiteral("Le fichier ") + link +
                             QStringLiteral(" existe déjà. Voulez-vous le remplacer ?");
    std::vector<std::string> lines = StandardMetaLines({folder.page});
    lines.insert(lines.end(), {"%ListePages", "1"});
    const Bytes book = AssembleBook({folder.page, MakeMetaRecord("", lines)});
    for (const bool leadsToAFile : {true, false}) {
        for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
            const bool replaced = answer == MessageAnswer::Yes;
            SCOPED_TRACE(std::string(leadsToAFile ? "link to a file" : "link leading nowhere") +
                         (replaced ? ", answered yes" : ", answered no"));
            std::filesystem::remove(folder.dir / "lien.bd");
            std::filesystem::remove(folder.dir / "ailleurs.bd");
            std::filesystem::create_symlink("ailleurs.bd", folder.dir / "lien.bd");
            if (leadsToAFile)
                WriteFileBytes(folder.dir / "ailleurs.bd", folder.earlier);
            RecordingPrompter prompter;
            prompter.answer(answer);

            EXPECT_EQ(CreateBook(folder.content(), {link, QString(), false}, prompter), replaced);

            const std::vector<QString> asked{question}, answered{question, Success};
            EXPECT_EQ(prompter.texts(), replaced ? answered : asked);
            EXPECT_TRUE(std::filesystem::is_symlink(folder.dir / "lien.bd"));
            if (replaced)
                EXPECT_EQ(ReadFileBytes(folder.dir / "ailleurs.bd"), book);
            else
                EXPECT_EQ(std::filesystem::exists(folder.dir / "ailleurs.bd"), leadsToAFile);
        }
    }
}

// Files chosen under names that do not decode (read by Qt with U+FFFD) are refused, whether
// a file of the name they read as is beside them or not; that file is neither read nor
// written.
TEST(CreateBook, NamesThatDoNotDecodeNeverStandForAnotherFile)
{
    const std::string latin1 = "caf\xe9", twin = "caf\xef\xbf\xbd"; // "café" in ISO 8859-1
    using Choice = std::function<void(CreationContent &, const QString &)>;
    const struct {
        const char *name;
        std::string extension;
        Choice choose; // puts the file into the content; none: it is the destination
    } cases[] = {
        {"page", ".jpg", [](CreationContent &c, const QString &file) { c.PageFiles << file; }},
        {"cover", ".jpg",
         [](CreationContent &c, const QString &file) {
             c.Cover = file;
             c.CoverChecked = true;
         }},
        {"back cover", ".jpg",
         [](CreationContent &c, const QString &file) {
             c.QuatrsFiles << file;
             c.QuatrsChecked = true;
         }},
        {"description", ".rtf",
         [](CreationContent &c, const QString &file) {
             c.Description = file;
             c.DescriptionChecked = true;
         }},
        {"destination", ".bd", {}},
    };
    for (const auto &c : cases) {
        for (const bool withTwin : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (withTwin ? ", twin beside it" : ", alone"));
            const CreationFolder folder;
            const Bytes before = c.choose ? folder.page : folder.earlier;
            WriteFileBytes(folder.dir / (latin1 + c.extension), before);
            if (withTwin)
                WriteFileBytes(folder.dir / (twin + c.extension), before);
            const std::vector<std::string> files = FileNamesIn(folder.dir.path());
            const QString chosen = QFile::decodeName(
                QByteArray::fromStdString((folder.dir / (latin1 + c.extension)).string()));
            CreationContent content = folder.content();
            QString destination = folder.file("neuf.bd");
            if (c.choose)
                c.choose(content, chosen);
            else
                destination = chosen;
            RecordingPrompter prompter;

            EXPECT_FALSE(CreateBook(content, {destination, QString(), true}, prompter));

            const QString message =
                c.choose ? QStringLiteral("Impossible d'ouvrir le fichier ") + chosen + '.'
                         : QStringLiteral("Impossible d'écrire le fichier ") + chosen + '.';
            EXPECT_EQ(prompter.texts(), std::vector<QString>{message});
            EXPECT_EQ(FileNamesIn(folder.dir.path()), files);
            if (withTwin) {
                EXPECT_EQ(ReadFileBytes(folder.dir / (twin + c.extension)), before);
            }
        }
    }
}

TEST(CreateBook, NewBookNeedsNoQuestion)
{
    const CreationFolder folder;
    RecordingPrompter prompter;
    const CreationTarget target{folder.file("neuf.bd"), folder.file("livre.bd"), false};
    EXPECT_TRUE(CreateBook(folder.content(), target, prompter));
    EXPECT_EQ(prompter.texts(), std::vector<QString>{Success});
    std::vector<std::string> lines = StandardMetaLines({folder.page});
    lines.insert(lines.end(), {"%ListePages", "1"});
    EXPECT_EQ(ReadFileBytes(folder.dir / "neuf.bd"),
              AssembleBook({folder.page, MakeMetaRecord("", lines)}));
}

TEST(BookDestinationName, AppendsTheBookExtensionUnlessItIsThere)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/bd/livre", "/bd/livre.bd"},       {"/bd/livre.bd", "/bd/livre.bd"},
        {"/bd/livre.BD", "/bd/livre.BD"},    {"/bd/livre.bd.jpg", "/bd/livre.bd.jpg.bd"},
        {"/bd.v2/livre", "/bd.v2/livre.bd"}, {"/bd/livre.", "/bd/livre..bd"},
    };
    for (const auto &[chosen, destination] : cases)
        EXPECT_EQ(BookDestinationName(QLatin1String(chosen)), QLatin1String(destination)) << chosen;
}

} // namespace
