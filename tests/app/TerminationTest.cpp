// The program itself, ended by a signal as a session manager or a terminal ends it.
#include "app/core/program/Settings.h"
#include "platform/Registry.h"
#include "tests/support/PdfFixture.h"
#include "tests/support/TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

namespace {

// The rendering folders of the program in the temporary folder given to it.
std::vector<std::string> RenderingFolders(const std::filesystem::path &temporary)
{
    std::vector<std::string> folders;
    for (const std::string &name : FileNamesIn(temporary))
        if (name.starts_with("quirelle-pages-"))
            folders.push_back(name);
    return folders;
}

// SIGTERM, SIGINT and SIGHUP end the program as closing its window does: the window's
// placement is saved and the folder where the pages of a PDF were rendered is removed.
TEST(Termination, EndingSignalsCloseTheWindowAndTheProgramCleansUp)
{
    TempDir books;
    MakeGhostscriptPdf(books / "livre.pdf", 2);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        platform::RegistryKey::deleteTree(platform::Hive::CurrentUser, SettingsKeyPath);
        TempDir temporary;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TMPDIR"),
                           QString::fromStdString(temporary.path().string()));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUIRELLE_PROGRAM),
                      {QString::fromStdString((books / "livre.pdf").string())});
        ASSERT_TRUE(program.waitForStarted());
        // The first page is being rendered: the window is shown and the program handles
        // its events.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (RenderingFolders(temporary.path()).empty() &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_EQ(RenderingFolders(temporary.path()).size(), 1u);

        ::kill(pid_t(program.processId()), signal);

        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_TRUE(RenderingFolders(temporary.path()).empty());
        const auto settings =
            platform::RegistryKey::open(platform::Hive::CurrentUser, SettingsKeyPath, false);
        ASSERT_NE(settings, nullptr);
        EXPECT_TRUE(settings->readString(SettingName::Agrandissement).has_value());
    }
}

} // namespace
