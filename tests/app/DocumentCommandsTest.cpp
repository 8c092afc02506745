// The tools that make books and PDF files from other documents, and the .bd association,
// as the main window's menu runs them.
#include "app/core/tools/FileAssociation.h"
#include "app/widgets/ClientArea.h"
#include "app/widgets/PictureBox.h"
#include "app/widgets/WaitAnimation.h"
#include "tests/app/WindowFixture.h"
#include "tests/support/BookFixture.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/RunTool.h"

#include "platform/Registry.h"

#include <QAction>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using platform::Hive;
using platform::RegistryKey;

void WriteExecutable(const fs::path &path)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "#!/bin/sh\n";
    fs::permissions(path, fs::perms::owner_all);
}

TEST(DocumentCommands, PdfToBookIsEnabledExactlyWhenTheConsoleProgramIsFound)
{
    const struct {
        const char *name;
        bool besideTheLibrary;
        bool onPath;
        bool enabled;
    } cases[] = {
        {"beside the library", true, false, true},
        {"on PATH", false, true, true},
        {"nowhere", false, false, false},
    };
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directories(dir / "lib");
        fs::create_directories(dir / "bin");
        RegistryKey::deleteTree(Hive::LocalMachine, "SOFTWARE\\GPL Ghostscript");
        RegistryKey::open(Hive::LocalMachine, "SOFTWARE\\GPL Ghostscript\\10.00", true)
            ->writeString("GS_DLL", (dir / "lib" / "libgs.so.10").string());
        if (c.besideTheLibrary)
            WriteExecutable(dir / "lib" / "gs");
        if (c.onPath)
            WriteExecutable(dir / "bin" / "gs");
        qputenv("PATH", QByteArray::fromStdString((dir / "bin").string()));

        Window window;
        EXPECT_EQ(window.form.PDFBD1->isEnabled(), c.enabled);
    }
}

TEST(DocumentCommands, EachMenuEntryStartsItsCommand)
{
    Window window;
    window.dialogs.cancel();
    window.form.PDFBD1->trigger();
    window.dialogs.cancel();
    window.form.DocBD1->trigger();
    window.prompter.answer(MessageAnswer::No);
    window.form.Associerlextensionbd1->trigger();
    window.prompter.answer(MessageAnswer::No);
    window.form.Dsassocierlextensionbd1->trigger();

    ASSERT_EQ(window.dialogs.requests.size(), 2u);
    EXPECT_EQ(window.dialogs.requests[0].kind, ScriptedDialogs::Kind::Open);
    EXPECT_EQ(window.dialogs.requests[0].dialog.Filter, "Fichier PDF (*.pdf)|*.pdf");
    EXPECT_TRUE(window.dialogs.requests[0].dialog.FileMustExist);
    EXPECT_EQ(window.dialogs.requests[1].kind, ScriptedDialogs::Kind::Open);
    EXPECT_EQ(window.dialogs.requests[1].dialog.Filter, "Fichier Word (*.doc;docx)|*.doc;*.docx");
    const std::vector<QString> texts = window.prompter.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].startsWith("L'association entraînera"));
    EXPECT_TRUE(texts[1].startsWith("Il est maintenant nécessaire de redémarrer"));
    EXPECT_TRUE(window.programs.calls.empty());
    EXPECT_EQ(window.programs.restarts, 0);
    EXPECT_TRUE(window.form.findChildren<WaitAnimation *>().isEmpty());
}

TEST(DocumentCommands, AThreePagePdfBecomesABookWhosePagesOpenInTheViewer)
{
    Window window;
    TempDir dir;
    const fs::path pdf = dir / "Album.pdf";
    MakeGhostscriptPdf(pdf, 3);
    fs::create_directory(dir / "tmp");
    setenv("TMPDIR", (dir / "tmp").c_str(), 1);
    const auto restore = qScopeGuard([] { unsetenv("TMPDIR"); });

    window.dialogs.choose({QtPath(pdf)});
    window.dialogs.choose({QtPath(dir / "Livre.bd")});
    bool waitShown = false;
    window.programs.script([&](const ProgramCall &call, const std::function<bool()> &poll) {
        const QList<WaitAnimation *> waits = window.form.findChildren<WaitAnimation *>();
        waitShown = waits.size() == 1 && waits[0]->isVisibleTo(&window.form) &&
                    waits[0]->geometry() == window.form.Client->rect();
        return SystemPrograms().run(call, window.ui, poll);
    });

    window.form.PDFBD1->trigger();

    EXPECT_TRUE(waitShown);
    EXPECT_TRUE(window.form.findChildren<WaitAnimation *>().isEmpty());
    EXPECT_TRUE(window.prompter.messages.empty());
    EXPECT_TRUE(fs::is_empty(dir / "tmp"));
    // Each record is the page as the console program renders it alone.
    std::ifstream book(dir / "Livre.bd", std::ios::binary);
    ASSERT_EQ(ReadBookRecord(book, nullptr, INT32_MAX), 3);
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const fs::path alone = dir / ("page" + std::to_string(page) + ".jpg");
        ASSERT_TRUE(RunTool("gs", {"-q", "-dBATCH", "-dSAFER", "-dNOPAUSE", "-sDEVICE=jpeg",
                                   "-r200x200", "-dFirstPage=" + QString::number(page),
                                   "-dLastPage=" + QString::number(page),
                                   "-sOutputFile=" + QtPath(alone), "-f" + QtPath(pdf)}));
        Bytes record;
        ASSERT_EQ(ReadBookRecord(book, &record, page - 1), -1);
        EXPECT_TRUE(record == ReadFileBytes(alone));
    }

    window.form.Charge(QtPath(dir / "Livre.bd"));
    ASSERT_EQ(window.form.state.PageList.size(), 3u);
    EXPECT_EQ(window.form.Image1->picture().size(), QImage(QtPath(dir / "page1.jpg")).size());
    EXPECT_GT(window.form.Image1->picture().width(), 1000) << "a page at 200 dpi";
    for (const char *page : {"1", "2", "3"})
        EXPECT_TRUE(window.form.thumbnail(page)) << page;
    EXPECT_TRUE(window.prompter.messages.empty());
}

TEST(DocumentCommands, TheAssociationNamesTheRunningProgramAndTheLibraryBesideIt)
{
    Window window;
    window.prompter.answer(MessageAnswer::Yes);
    window.form.Associerlextensionbd1->trigger();

    const QString program = window.form.services.programPath;
    EXPECT_EQ(RegistryKey::open(Hive::ClassesRoot, ".bd\\shell\\Quirelle\\command", false)
                  ->readString(""),
              '"' + program.toStdString() + "\" \"%1\"");
    EXPECT_EQ(RegistryKey::open(Hive::ClassesRoot,
                                std::string("CLSID\\") + ShellLibraryClassId + "\\InprocServer32",
                                false)
                  ->readString(""),
              (window.dir / "libVorstel.so").string());
}

} // namespace
