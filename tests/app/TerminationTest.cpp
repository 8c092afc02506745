// The program itself, ended by a signal as a session manager or a terminal ends it.
#include "app/core/creation/CreationMeta.h"
#include "app/core/program/Settings.h"
#include "platform/Registry.h"
#include "tests/support/BookFixture.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <iostream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The rendering folders of the program in the temporary folder given to it.
std::vector<std::string> RenderingFolders(const std::filesystem::path &temporary)
{
    std::vector<std::string> folders;
    for (const std::string &name : FileNamesIn(temporary))
        if (name.starts_with("quirelle-pages-"))
            folders.push_back(name);
    return folders;
}

// Starts a program on the offscreen platform with the settings of this test removed and the
// given temporary folder and environment.
void Start(QProcess &program, const QString &path, const std::filesystem::path &book,
           const std::filesystem::path &temporary,
           const std::vector<std::pair<QString, QString>> &variables = {})
{
    platform::RegistryKey::deleteTree(platform::Hive::CurrentUser, SettingsKeyPath);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TMPDIR"), QString::fromStdString(temporary.string()));
    for (const auto &[name, value] : variables)
        environment.insert(name, value);
    program.setProcessEnvironment(environment);
    program.start(path, {QString::fromStdString(book.string())});
    ASSERT_TRUE(program.waitForStarted());
}

// The program has ended as closing its window ends it: status 0, the settings written and
// the rendering folder removed.
void ExpectEndedCleanly(QProcess &program, const std::filesystem::path &temporary)
{
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_TRUE(RenderingFolders(temporary).empty());
    const auto settings =
        platform::RegistryKey::open(platform::Hive::CurrentUser, SettingsKeyPath, false);
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->readString(SettingName::Agrandissement).has_value());
}

// SIGTERM, SIGINT and SIGHUP end the program as closing its window does: the window's
// placement is saved and the folder where the pages of a PDF were rendered is removed.
TEST(Termination, EndingSignalsCloseTheWindowAndTheProgramCleansUp)
{
    TempDir books;
    MakeGhostscriptPdf(books / "livre.pdf", 2);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        TempDir temporary;
        QProcess program;
        Start(program, QStringLiteral(QUIRELLE_PROGRAM), books / "livre.pdf", temporary.path());
        // The first page is being rendered: the window is shown and the program handles
        // its events.
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (RenderingFolders(temporary.path()).empty() && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_EQ(RenderingFolders(temporary.path()).size(), 1u);

        ::kill(pid_t(program.processId()), signal);

        ASSERT_TRUE(program.waitForFinished(60000));
        ExpectEndedCleanly(program, temporary.path());
    }
}

struct WindowCase {
    const char *window; // as the copy of the program names it (see its source)
    const char *book;
    bool signalsItself; // the copy of the program sends SIGTERM itself
};

// The books and pages of the window cases, and the book that the creation writes from them.
struct WindowBooks {
    TempDir books;
    std::filesystem::path page = books / "page.jpg";
    std::filesystem::path expectedBook = books / "attendu.bd";

    WindowBooks()
    {
        MakeGhostscriptPdf(books / "livre.pdf", 2);
        const Bytes jpeg = MakeJpeg(64, 96);
        WriteFileBytes(books / "livre.bd", AssembleBook({jpeg}));
        WriteFileBytes(page, jpeg);
        CreationContent content;
        content.PageFiles << QString::fromStdString(page.string());
        WriteCreatedBook(content, QString::fromStdString(expectedBook.string()));
    }
};

// Opens the window of the case in the copy of the program, ends it by the signal and checks
// that it has ended cleanly; the time to end is printed.
void EndWithWindowOpen(const WindowBooks &f, const WindowCase &c, int signal)
{
    TempDir temporary;
    const std::filesystem::path written = temporary / "sortie.bd";
    QProcess program;
    Start(program, QStringLiteral(QUIRELLE_WINDOW_PROGRAM), f.books / c.book, temporary.path(),
          {{QStringLiteral("QUIRELLE_TEST_WINDOW"), QString::fromLatin1(c.window)},
           {QStringLiteral("QUIRELLE_TEST_PAGE"), QString::fromStdString(f.page.string())},
           {QStringLiteral("QUIRELLE_TEST_BOOK"), QString::fromStdString(written.string())}});
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (!program.canReadLine() && Clock::now() < deadline)
        program.waitForReadyRead(100);
    ASSERT_EQ(program.readLine().trimmed().toStdString(), "shown")
        << program.readAllStandardError().toStdString();

    const auto signalled = Clock::now();
    if (!c.signalsItself)
        ::kill(pid_t(program.processId()), signal);
    // The bound is loose for a busy machine; the time taken is printed.
    const bool ended = program.waitForFinished(10000);
    std::cout << c.window << ", " << sigabbrev_np(signal) << ": ended after "
              << std::chrono::duration<double, std::milli>(Clock::now() - signalled).count()
              << " ms\n";
    if (!ended) {
        program.kill();
        program.waitForFinished();
        FAIL() << "still running";
    }
    ExpectEndedCleanly(program, temporary.path());
    if (c.signalsItself) {
        EXPECT_EQ(ReadFileBytes(written), ReadFileBytes(f.expectedBook));
        return;
    }
    // Nothing is written: no book, no print to file.
    for (const std::string &name : FileNamesIn(temporary.path()))
        EXPECT_FALSE(name.starts_with("sortie")) << name;
}

// Whatever window is open, one ending signal ends the program: its modal windows close as
// "Annuler" or Esc would, full screen is left, and a book being written is written whole
// first, the success box after it closing at once.
TEST(Termination, OneSignalEndsTheProgramWhateverWindowIsOpen)
{
    const WindowCase cases[] = {
        {"about", "livre.pdf", false},      {"creation", "livre.pdf", false},
        {"editor", "livre.bd", false},      {"message", "livre.pdf", false},
        {"print", "livre.pdf", false},      {"margins", "livre.pdf", false},
        {"fullscreen", "livre.pdf", false}, {"creation-write", "livre.pdf", true},
    };
    const WindowBooks f;
    for (const WindowCase &c : cases) {
        SCOPED_TRACE(c.window);
        if (c.signalsItself) {
            EndWithWindowOpen(f, c, SIGTERM);
            continue;
        }
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            SCOPED_TRACE(strsignal(signal));
            EndWithWindowOpen(f, c, signal);
        }
    }
}

} // namespace
