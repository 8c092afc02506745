#include "app/core/tools/DocumentToPdf.h"

#include "app/core/pages/PdfPageCount.h"
#include "app/core/seams/UiHooks.h"
#include "tests/support/BookFixture.h"
#include "tests/support/DocumentFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/RecordingLinks.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/RunTool.h"
#include "tests/support/ScriptedPrograms.h"
#include "tests/support/TempDir.h"

#include <QScopeGuard>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// A small picture of two colours.
QImage Picture()
{
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            picture.setPixelColor(x, y, Qt::yellow);
    return picture;
}

const QString MissingPrinterQuestion = QStringLiteral(
    "Impossible de détecter l'imprimante PDFCreator. Souhaitez-vous la télécharger ?");

// The command with its dialog scripted; TMPDIR is a folder of the test's own.
struct Command {
    Command()
    {
        fs::create_directory(dir / "tmp");
        setenv("TMPDIR", (dir / "tmp").c_str(), 1);
    }
    ~Command() { unsetenv("TMPDIR"); }

    TempDir dir;
    RecordingPrompter prompter;
    NoUiHooks ui;
    ScriptedPrograms programs;
    RecordingLinks links;
    std::optional<QString> document; // the dialog's answer
    int documentDialogs = 0;

    void run()
    {
        DocumentToPdf({prompter, ui, programs, links,
                       [this] {
                           ++documentDialogs;
                           return document;
                       },
                       [] { return true; }});
    }

    bool temporaryFolderEmpty() const { return fs::is_empty(dir / "tmp"); }
};

TEST(DocumentToPdf, LibreOfficeConvertsTheDocumentBesideIt)
{
    Command command;
    const fs::path document = command.dir / "Scénario.odt";
    MakeTextDocument(document, {"Planche un", "Planche deux"}, Picture());
    command.document = QtPath(document);

    command.run();

    const fs::path pdf = command.dir / "Scénario.pdf";
    EXPECT_EQ(command.prompter.texts(),
              std::vector<QString>{"Le document a été converti en PDF : " + QtPath(pdf) + "."});
    EXPECT_EQ(CountPdfPages(QtPath(pdf), command.ui), 2);
    const std::optional<QString> text = ToolOutput("pdftotext", {QtPath(pdf), "-"});
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains("Planche un") && text->contains("Planche deux"))
        << text->toStdString();
    const std::optional<QString> images = ToolOutput("pdfimages", {"-list", QtPath(pdf)});
    ASSERT_TRUE(images);
    EXPECT_EQ(images->split('\n', Qt::SkipEmptyParts).size(), 3)
        << "a header of two lines, one picture";

    // Its own profile, so that an instance the user has open is never touched.
    ASSERT_EQ(command.programs.calls.size(), 1u);
    const ProgramCall &call = command.programs.calls[0];
    EXPECT_EQ(call.program, LibreOfficePath());
    const QString profile = call.arguments.filter("-env:UserInstallation=").value(0);
    EXPECT_TRUE(
        profile.startsWith("-env:UserInstallation=file://" + QtPath(command.dir / "tmp") + "/"))
        << profile.toStdString();
    EXPECT_TRUE(call.arguments.contains("--headless"));
    EXPECT_EQ(call.arguments.last(), QtPath(document));
    EXPECT_TRUE(command.temporaryFolderEmpty());
}

TEST(DocumentToPdf, WithoutLibreOfficeTheDownloadIsOfferedAndTheDialogStillShown)
{
    TempDir emptyPath;
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    qputenv("PATH", QByteArray::fromStdString(emptyPath.path().string()));
    ASSERT_TRUE(LibreOfficePath().isEmpty());

    for (const bool download : {false, true}) {
        SCOPED_TRACE(download ? "yes" : "no");
        Command command;
        command.prompter.answer(download ? MessageAnswer::Yes : MessageAnswer::No);
        command.run();
        ASSERT_EQ(command.prompter.messages.size(), 1u);
        EXPECT_EQ(command.prompter.messages[0].text, MissingPrinterQuestion);
        EXPECT_EQ(command.prompter.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(command.prompter.messages[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(command.links.opened,
                  download ? QStringList{PdfPrinterDownloadAddress} : QStringList{});
        EXPECT_EQ(command.documentDialogs, 1);
    }
}

TEST(DocumentToPdf, NothingIsWrittenUnlessTheConversionSucceedsAndMayReplace)
{
    using Outcome = ProgramExit::Outcome;
    const Bytes previous = ToBytes("%PDF-1.4 previous");
    const struct {
        const char *name;
        bool pdfExists;
        MessageAnswer replace;
        ProgramExit exit;
        bool writesOutput;
        bool runs;
        QString message; // %1: the document
    } cases[] = {
        {"existing PDF kept", true, MessageAnswer::No, {}, true, false, {}},
        {"LibreOffice not started",
         false,
         MessageAnswer::No,
         {Outcome::NotStarted, -1},
         false,
         true,
         "Impossible de lancer LibreOffice."},
        {"document it cannot load: no PDF",
         false,
         MessageAnswer::No,
         {},
         false,
         true,
         "Impossible de convertir le document %1 en PDF."},
        {"exit status 1",
         true,
         MessageAnswer::Yes,
         {Outcome::Exited, 1},
         true,
         true,
         "Impossible de convertir le document %1 en PDF."},
        {"window closed meanwhile",
         false,
         MessageAnswer::No,
         {Outcome::Stopped, -1},
         true,
         true,
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Command command;
        const fs::path pdf = command.dir / "Lettre.pdf";
        if (c.pdfExists)
            WriteFileBytes(pdf, previous);
        command.document = QtPath(command.dir / "Lettre.docx");
        command.prompter.answer(c.replace);
        const ProgramExit exit = c.exit;
        const bool writesOutput = c.writesOutput;
        command.programs.script([=](const ProgramCall &call, const std::function<bool()> &) {
            if (writesOutput)
                WriteFileBytes(call.arguments.at(5).toStdString() + "/Lettre.pdf", ToBytes("%PDF"));
            return exit;
        });

        command.run();

        std::vector<QString> texts;
        if (c.pdfExists)
            texts.push_back("Le fichier " + QtPath(pdf) +
                            " existe déjà.\r\nVoulez-vous le remplacer ?");
        if (!c.message.isEmpty())
            texts.push_back(QString(c.message).replace("%1", *command.document));
        EXPECT_EQ(command.prompter.texts(), texts);
        EXPECT_EQ(command.programs.calls.size(), c.runs ? 1u : 0u);
        if (c.pdfExists)
            EXPECT_TRUE(ReadFileBytes(pdf) == previous);
        else
            EXPECT_FALSE(fs::exists(pdf));
        EXPECT_TRUE(command.temporaryFolderEmpty());
    }
}

} // namespace
